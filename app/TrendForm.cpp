#include "app/TrendForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "app/WindowMessages.h"
#include "window/LogWindow.h"

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

// The viewer's virtual-key code of a Qt key (window/LogWindow.h); 0 for
// any other.
int LogKeyOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return LogKey::Left;
        case Qt::Key_Right:
            return LogKey::Right;
        case Qt::Key_Home:
            return LogKey::Home;
        case Qt::Key_End:
            return LogKey::End;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            return LogKey::Plus;
        case Qt::Key_Minus:
            return LogKey::Minus;
        case Qt::Key_O:
            return LogKey::O;
        default:
            return 0;
    }
}

}  // namespace

TrendForm::TrendForm(QWidget* owner, Handlers handlers, WindowMessages& messages)
    : QWidget(owner, Qt::Window), handlers_(std::move(handlers)), messages_(messages) {
    setObjectName(QStringLiteral("TrendForm"));
    RowsLabel = new QLabel(this);
    Rows = new QListWidget(this);
    Rows->setObjectName(QStringLiteral("TrendRows"));
    Rows->setSelectionMode(QAbstractItemView::NoSelection);
    Period = new QComboBox(this);
    Period->setObjectName(QStringLiteral("TrendPeriod"));
    Period->addItems({QString(), QString()});
    Plot = new TrendPlotView(handlers_, this);
    Plot->setObjectName(QStringLiteral("TrendPlot"));
    Plot->setFocusPolicy(Qt::ClickFocus);
    OpenLog = new QPushButton(this);
    OpenLog->setObjectName(QStringLiteral("OpenLog"));
    BackToLive = new QPushButton(this);
    BackToLive->setObjectName(QStringLiteral("BackToLive"));
    BackToLive->hide();

    auto* side = new QVBoxLayout;
    side->addWidget(RowsLabel);
    side->addWidget(Rows, 1);
    side->addWidget(Period);
    side->addWidget(OpenLog);
    side->addWidget(BackToLive);
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
    connect(OpenLog, &QPushButton::clicked, this, [this] { handlers_.OpenLog(); });
    connect(BackToLive, &QPushButton::clicked, this, [this] { handlers_.BackToLive(); });
    // The viewer's keys before the list's, which would take the arrows.
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(Rows),
                            static_cast<QWidget*>(Period), static_cast<QWidget*>(Plot),
                            static_cast<QWidget*>(OpenLog), static_cast<QWidget*>(BackToLive)})
        widget->installEventFilter(this);
}

bool TrendForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int code = LogKeyOf(key->key());
    return code != 0 && handlers_.Key &&
           handlers_.Key(code, key->modifiers().testFlag(Qt::ControlModifier));
}

void TrendForm::SetLogControls(const std::string& open, const std::string& back, bool live) {
    OpenLog->setText(Q(open));
    BackToLive->setText(Q(back));
    BackToLive->setVisible(!back.empty());
    Period->setVisible(live);
    FitList();
}

std::optional<std::filesystem::path> TrendForm::AskLogFile(const std::string& title,
                                                           const std::string& filter,
                                                           const std::filesystem::path& folder) {
    if (PickLogFile) return PickLogFile();
    const QString file = QFileDialog::getOpenFileName(
        this, Q(title), QFile::decodeName(QByteArray::fromStdString(folder.string())), Q(filter));
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

void TrendForm::ShowLogMessage(const std::string& text) {
    messages_.Show(Q(text), WindowMessages::Icon::Error);
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
        std::max({FirstListWidth, list, RowsLabel->sizeHint().width(), Period->sizeHint().width(),
                  OpenLog->sizeHint().width(), BackToLive->sizeHint().width()});
    if (wanted == listWidth_) return;
    const int grown = wanted - listWidth_;
    listWidth_ = wanted;
    for (QWidget* widget : SideWidgets()) widget->setFixedWidth(listWidth_);
    setMinimumWidth(minimumWidth() + grown);
    resize(width() + grown, height());
}

std::array<QWidget*, 5> TrendForm::SideWidgets() const {
    return {RowsLabel, Rows, Period, OpenLog, BackToLive};
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
    if (!parentWidget()) return std::nullopt;
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
