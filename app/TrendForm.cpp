#include "app/TrendForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int ListWidth = 200;
constexpr QSize FirstSize{640, 440};
constexpr QSize SmallestSize{420, 260};

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
    RowsLabel->setFixedWidth(ListWidth);
    Rows->setFixedWidth(ListWidth);
    Period->setFixedWidth(ListWidth);
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
}

void TrendForm::SetPeriod(int period) {
    const QSignalBlocker quiet(Period);
    Period->setCurrentIndex(period);
}

void TrendForm::ShowBeside(const QWidget& owner) {
    if (!placed_) {
        placed_ = true;
        QPoint at = owner.frameGeometry().topRight() + QPoint(8, 0);
        if (const QScreen* screen = owner.screen()) {
            const QRect room = screen->availableGeometry();
            at.setX(
                std::max(room.left(), std::min(at.x(), room.right() - frameGeometry().width())));
        }
        move(at);
    }
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
