#include "app/TrendForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Sizes with a list of the width it has before its rows come; a wider list
// widens the window as much.
constexpr int FirstListWidth = 200;
constexpr QSize FirstSize{640, 440};
constexpr QSize SmallestSize{420, 260};
// Between the window and the main one.
constexpr int Gap = 8;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

TrendForm::TrendForm(QWidget* owner, Handlers handlers)
    : QWidget(owner, Qt::Window), handlers_(std::move(handlers)) {
    setObjectName(QStringLiteral("TrendForm"));
    RowsLabel = new QLabel(this);
    Rows = new QListWidget(this);
    Rows->setObjectName(QStringLiteral("TrendRows"));
    Rows->setSelectionMode(QAbstractItemView::NoSelection);
    Period = new QComboBox(this);
    Period->setObjectName(QStringLiteral("TrendPeriod"));
    Period->addItems({QString(), QString()});
    Plot = new TrendPlotView(handlers_.Plot, this);
    Plot->setObjectName(QStringLiteral("TrendPlot"));

    auto* side = new QVBoxLayout;
    side->addWidget(RowsLabel);
    side->addWidget(Rows, 1);
    side->addWidget(Period);
    auto* whole = new QHBoxLayout(this);
    whole->setContentsMargins(4, 4, 4, 4);
    whole->addLayout(side);
    whole->addWidget(Plot, 1);
    listWidth_ = FirstListWidth;
    for (QWidget* widget : SideWidgets()) widget->setFixedWidth(listWidth_);
    setMinimumSize(SmallestSize);
    resize(FirstSize);

    connect(Rows, &QListWidget::itemChanged, this, [this] { RowsTicked(); });
    connect(Period, &QComboBox::activated, this,
            [this](int index) { handlers_.PeriodChosen(index); });
}

void TrendForm::SetTexts(const std::string& title, const std::string& rowsCaption,
                         const std::string& minute, const std::string& fiveMinutes) {
    setWindowTitle(Q(title));
    RowsLabel->setText(Q(rowsCaption));
    Period->setItemText(0, Q(minute));
    Period->setItemText(1, Q(fiveMinutes));
    FitList();
}

// Set from the behaviour, the ticks tell it nothing back.
void TrendForm::SetRows(const std::vector<std::string>& names, const std::vector<bool>& chosen) {
    const QSignalBlocker quiet(Rows);
    if (Rows->count() != static_cast<int>(names.size())) {
        Rows->clear();
        for (std::size_t i = 0; i < names.size(); ++i) {
            auto* item = new QListWidgetItem(Rows);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        QListWidgetItem* item = Rows->item(static_cast<int>(i));
        item->setText(Q(names[i]));
        item->setCheckState(i < chosen.size() && chosen[i] ? Qt::Checked : Qt::Unchecked);
    }
    FitList();
}

// Room for the widest row with its tick box, the list's frame, and a scroll
// bar, which a short window shows.
void TrendForm::FitList() {
    const int list = std::max(0, Rows->sizeHintForColumn(0)) + 2 * Rows->frameWidth() +
                     Rows->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Rows);
    const int wanted =
        std::max({FirstListWidth, list, RowsLabel->sizeHint().width(), Period->sizeHint().width()});
    if (wanted == listWidth_) return;
    const int grown = wanted - listWidth_;
    listWidth_ = wanted;
    for (QWidget* widget : SideWidgets()) widget->setFixedWidth(listWidth_);
    setMinimumWidth(minimumWidth() + grown);
    resize(width() + grown, height());
}

std::array<QWidget*, 3> TrendForm::SideWidgets() const {
    return {RowsLabel, Rows, Period};
}

void TrendForm::SetPeriod(int period) {
    const QSignalBlocker quiet(Period);
    Period->setCurrentIndex(period);
}

// Painted only while shown.
void TrendForm::Redraw() {
    if (isVisible()) Plot->Refresh();
}

// Its own frame is not known before it is first shown: the main window's
// stands in for it.
std::optional<TrendScreen> TrendForm::Screen() const {
    const QWidget& owner = *parentWidget();
    if (!owner.screen()) return std::nullopt;
    const QRect frame = owner.frameGeometry(), inside = owner.geometry();
    const QSize framed = size() + (frame.size() - inside.size());
    const QRect room = owner.screen()->availableGeometry();
    return TrendScreen{{frame.x(), frame.y(), frame.width(), frame.height()},
                       framed.width(),
                       framed.height(),
                       {room.x(), room.y(), room.width(), room.height()},
                       Gap};
}

void TrendForm::MoveTo(int x, int y) {
    move(x, y);
}

void TrendForm::Show() {
    show();
    raise();
    activateWindow();
}

void TrendForm::closeEvent(QCloseEvent* event) {
    handlers_.Closed();
    event->accept();
}

// Every row ticked, in list order; the behaviour keeps those chosen before.
void TrendForm::RowsTicked() {
    std::vector<int> rows;
    for (int i = 0; i < Rows->count(); ++i)
        if (Rows->item(i)->checkState() == Qt::Checked) rows.push_back(i);
    handlers_.RowsChosen(rows);
}
