// The window's controls, placed as the layout has them (sizes in pixels).

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/CounterBox.h"
#include "app/ListCellDelegate.h"
#include "app/MainForm.h"
#include "app/StatusPanel.h"
#include "app/TrendForm.h"

namespace {

// A parameter list whose sixteen rows always fit: rows are as tall as the
// Value column's font needs, unless a fallback font with a taller line would
// push the last row out of a list that cannot scroll.
class ParameterList : public QTableWidget {
public:
    ParameterList(int rows, int columns, int rowHeight)
        : QTableWidget(rows, columns), rowHeight_(rowHeight) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QTableWidget::resizeEvent(event);
        const int fitting = viewport()->height() / std::max(rowCount(), 1);
        verticalHeader()->setDefaultSectionSize(std::max(1, std::min(rowHeight_, fitting)));
    }

private:
    int rowHeight_;
};

constexpr int ClientWidth = 592;
constexpr int ClientHeight = 455;
constexpr int ToolBarHeight = 29;
constexpr int StatusBarHeight = 19;
constexpr int PanelHeight = StatusBarHeight - 2;
constexpr std::array<int, 3> PanelWidths{200, 200, 50};
constexpr std::array<int, 4> ColumnWidths{100, 300, 80, 100};

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// The lists and the memo: "Times New Roman" (Liberation Serif where fontconfig
// stands in for it), 16 pixels, bold.
QFont PageFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

}  // namespace

void TMainForm::BuildLayout() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Where "MS Sans Serif" is missing, the sans serif of Arial's widths keeps
    // the captions inside their buttons.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(11);
    setFont(font);

    ADiag = Named(new QAction(this), QStringLiteral("ADiag"));
    ADiag->setShortcut(Qt::Key_F5);
    AResetErrors = Named(new QAction(this), QStringLiteral("AResetErrors"));
    AResetErrors->setShortcut(Qt::Key_F8);
    ALog = Named(new QAction(this), QStringLiteral("ALog"));
    ALog->setShortcut(Qt::Key_F6);
    ATrend = Named(new QAction(this), QStringLiteral("ATrend"));
    ATrend->setShortcut(Qt::Key_F7);
    AReport = Named(new QAction(this), QStringLiteral("AReport"));
    AReport->setShortcut(Qt::Key_F9);
    // Shortcuts of the window, whichever control has the focus.
    addActions({ADiag, ALog, ATrend, AResetErrors, AReport});

    BuildToolBar();
    PageControl1 = Named(new QTabWidget(this), QStringLiteral("PageControl1"));
    for (int page = 0; page < WindowBehaviour::PageCount; ++page) {
        TabSheets[page] = Named(new QWidget, QStringLiteral("TabSheet%1").arg(page + 1));
        PageControl1->addTab(TabSheets[page], QString());
    }
    BuildParameterPage(0, ListView1);
    BuildParameterPage(1, ListView2);
    BuildErrorsPage();
    BuildEcuInfoPage();
    setCentralWidget(PageControl1);
    BuildStatusBar();
    BuildTrendWindow();

    Timer1 = Named(new QTimer(this), QStringLiteral("Timer1"));
    Timer1->setInterval(WindowBehaviour::TickMs);
    // The 220 ms count from the end of a tick: a coarse timer may fire up to
    // 5 % early, and the ECU would be asked again too soon.
    Timer1->setTimerType(Qt::PreciseTimer);
    // The tick enables the timer again as its last step, so a single shot
    // each time keeps ticks from overlapping.
    Timer1->setSingleShot(true);

    setFixedSize(ClientWidth, ClientHeight);
}

// The tool bar keeps its controls where the layout puts them, rather than
// where a tool bar's own layout would.
void TMainForm::BuildToolBar() {
    ToolBar1 = Named(new QToolBar(this), QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(ToolBarHeight);
    ToolBar1->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ComNumber = Named(new QComboBox(ToolBar1), QStringLiteral("ComNumber"));
    ComNumber->setEditable(false);
    ComNumber->setGeometry(0, 2, 81, 21);
    auto button = [this](const QString& name, QAction* action, int left) {
        auto* b = Named(new QToolButton(ToolBar1), name);
        b->setDefaultAction(action);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(false);
        b->setGeometry(left, 2, 104, 22);
        return b;
    };
    Button1 = button(QStringLiteral("Button1"), ADiag, 81);
    Button2 = button(QStringLiteral("Button2"), AResetErrors, 185);
    LanguageBtn = Named(new QPushButton(ToolBar1), QStringLiteral("LanguageBtn"));
    LanguageBtn->setGeometry(289, 2, 75, 22);
    LanguageBtn->setAutoDefault(false);
}

void TMainForm::BuildParameterPage(int page, QTableWidget*& list) {
    // Rows as tall as the Value column's 14 points need.
    QFont valueFont = PageFont();
    valueFont.setPointSize(ListCellDelegate::LookOf(ListCellDelegate::ValueColumn).PointSize);
    list = Named(new ParameterList(WindowView::ListRows, static_cast<int>(ColumnWidths.size()),
                                   QFontMetrics(valueFont).height() + 1),
                 QStringLiteral("ListView%1").arg(page + 1));
    list->setFont(PageFont());
    list->setItemDelegate(new ListCellDelegate(PageFont(), list));
    list->setShowGrid(true);
    list->verticalHeader()->hide();
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->horizontalHeader()->setHighlightSections(false);
    // The headers in the list's font, and legible although the list is disabled.
    list->horizontalHeader()->setFont(PageFont());
    QPalette headerPalette = list->horizontalHeader()->palette();
    headerPalette.setColor(QPalette::Disabled, QPalette::ButtonText,
                           headerPalette.color(QPalette::Active, QPalette::ButtonText));
    list->horizontalHeader()->setPalette(headerPalette);
    for (int column = 0; column < list->columnCount(); ++column) {
        list->setColumnWidth(column, ColumnWidths[column]);
        list->setHorizontalHeaderItem(column, new QTableWidgetItem);
        for (int row = 0; row < list->rowCount(); ++row)
            list->setItem(row, column, new QTableWidgetItem);
    }
    list->verticalHeader()->setMinimumSectionSize(1);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    // Read-only for good: the list takes no focus, selection or scrolling.
    list->setEnabled(false);
    auto* fill = new QVBoxLayout(TabSheets[page]);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(list);
}

void TMainForm::BuildErrorsPage() {
    Memo1 = Named(new QPlainTextEdit, QStringLiteral("Memo1"));
    Memo1->setFont(PageFont());
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setBackgroundRole(QPalette::Button);
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    Memo1->setPalette(palette);
    auto* fill = new QVBoxLayout(TabSheets[2]);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Memo1);
}

void TMainForm::BuildEcuInfoPage() {
    GroupBox2 = Named(new QGroupBox, QStringLiteral("GroupBox2"));
    GroupBox2->setFixedHeight(217);
    GroupBox1 = Named(new QGroupBox, QStringLiteral("GroupBox1"));
    auto* column = new QVBoxLayout(TabSheets[3]);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(GroupBox2);
    column->addWidget(GroupBox1, 1);

    constexpr int EditLeft = 248;
    constexpr int LabelSpacing = 3;
    for (int i = 0; i < static_cast<int>(LabeledEdits.size()); ++i) {
        const int top = 16 + 24 * i;
        auto* edit = Named(new QLineEdit(GroupBox2), QStringLiteral("LabeledEdit%1").arg(i + 1));
        edit->setGeometry(EditLeft, top, 121, 21);
        auto* label = Named(new QLabel(GroupBox2), QStringLiteral("LabeledEdit%1Label").arg(i + 1));
        label->setGeometry(0, top, EditLeft - LabelSpacing, 21);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(edit);
        LabeledEdits[i] = edit;
        EditLabels[i] = label;
    }
    for (int i = 0; i < static_cast<int>(Labels.size()); ++i) {
        auto* label = Named(new QLabel(GroupBox1), QStringLiteral("Label%1").arg(i + 1));
        label->setGeometry(i == 5 ? 8 : 10, 20 + 24 * i, 233, 13);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = Named(new QLineEdit(GroupBox1), QStringLiteral("MaskEdit%1").arg(i + 1));
        edit->setGeometry(EditLeft, 16 + 24 * i, 120, 21);
        edit->setInputMask(QString::fromLatin1(CounterInputMask));
        Labels[i] = label;
        MaskEdits[i] = edit;
    }
}

void TMainForm::BuildStatusBar() {
    StatusBar1 = Named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(StatusBarHeight);
    for (std::size_t i = 0; i < Panels.size(); ++i) {
        auto* panel = Named(new StatusPanel(StatusBar1), QStringLiteral("Panel%1").arg(i));
        panel->setFixedSize(PanelWidths[i], PanelHeight);
        // Opaque, so that the status bar behind it is not painted again with it.
        panel->setAutoFillBackground(true);
        StatusBar1->addWidget(panel);
        Panels[i] = panel;
    }
    setStatusBar(StatusBar1);
}

// The trend window is made hidden with the main one, so that the behaviour
// can give it its texts from the start; F7 shows it.
void TMainForm::BuildTrendWindow() {
    TrendWindow = new TrendForm(this, TrendHandlersOf(behaviour_), messages_);
    // F5 to F9 there as here.
    TrendWindow->addActions({ADiag, ALog, ATrend, AResetErrors, AReport});
}
