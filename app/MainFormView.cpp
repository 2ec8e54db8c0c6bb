// What the behaviour shows, put into the controls. A box or the memo that
// shows its text already is left alone, so the user's selection and scrolling
// outlive the 220 ms tick.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "app/CounterBox.h"
#include "app/ListCellDelegate.h"
#include "app/MainForm.h"
#include "app/StatusPanel.h"
#include "app/TrendForm.h"
#include "app/WindowMessages.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

QTableWidget* TMainForm::ListOfPage(int page) const {
    return page == 0 ? ListView1 : ListView2;
}

void TMainForm::SetTitle(const std::string& text) {
    setWindowTitle(Q(text));
}

void TMainForm::SetActionCaption(Action action, const std::string& text) {
    (action == Action::ADiag ? ADiag : AResetErrors)->setText(Q(text));
}

void TMainForm::SetLanguageButtonCaption(const std::string& text) {
    LanguageBtn->setText(Q(text));
}

void TMainForm::SetPageCaption(int page, const std::string& text) {
    PageControl1->setTabText(page, Q(text));
}

void TMainForm::SetColumnHeader(int list, int column, const std::string& text) {
    ListOfPage(list)->horizontalHeaderItem(column)->setText(Q(text));
}

void TMainForm::SetBoxLabel(int box, const std::string& text) {
    QLabel* label = box < static_cast<int>(EditLabels.size())
                        ? EditLabels[static_cast<std::size_t>(box)]
                        : Labels[static_cast<std::size_t>(box) - EditLabels.size()];
    label->setText(Q(text));
}

void TMainForm::AddPortName(const std::string& name) {
    ComNumber->addItem(Q(name));
}

void TMainForm::SelectPort(int index) {
    if (index < ComNumber->count()) ComNumber->setCurrentIndex(index);
}

// An item keeps a text it is given again without repainting.
void TMainForm::SetCell(int list, int row, int column, const std::string& text) {
    ListOfPage(list)->item(row, column)->setText(Q(text));
}

void TMainForm::SetListStale(int list, bool stale) {
    QTableWidget* view = ListOfPage(list);
    static_cast<ListCellDelegate*>(view->itemDelegate())->SetStale(stale);
    view->viewport()->update();
}

void TMainForm::SetValueWarning(int list, int row, bool warning) {
    ListOfPage(list)
        ->item(row, ListCellDelegate::ValueColumn)
        ->setData(ListCellDelegate::WarningRole, warning);
}

// The same text set again would lay the document out and paint it anew on
// every tick, and take the user's scrolling back to the top.
void TMainForm::SetMemoText(const std::string& text) {
    const QString shown = Q(text);
    if (Memo1->toPlainText() != shown) Memo1->setPlainText(shown);
}

// A box that shows its text already keeps the user's cursor and selection
// (to copy the VIN, say).
// A text wider than its box shows from its start (a VIN's first letters say
// most), not from its end, where setting a text leaves the cursor.
void TMainForm::SetBoxText(int box, const std::string& text) {
    QLineEdit& edit = *LabeledEdits[static_cast<std::size_t>(box)];
    const QString shown = Q(text);
    if (edit.text() == shown) return;
    edit.setText(shown);
    edit.setCursorPosition(0);
}

void TMainForm::SetCounter(int counter, const CounterText& text) {
    ShowCounter(*MaskEdits[static_cast<std::size_t>(counter)], text);
}

void TMainForm::SetPanelText(int panel, const std::string& text) {
    Panels[static_cast<std::size_t>(panel)]->setText(Q(text));
}

void TMainForm::SetPanelTip(int panel, const std::string& tip) {
    Panels[static_cast<std::size_t>(panel)]->setToolTip(Q(tip));
}

void TMainForm::ShowTrend() {
    TrendWindow->ShowBeside(*this);
}

void TMainForm::SetTrendTexts(const std::string& title, const std::string& rowsCaption,
                              const std::string& minute, const std::string& fiveMinutes) {
    TrendWindow->SetTexts(title, rowsCaption, minute, fiveMinutes);
}

void TMainForm::SetTrendRows(const std::vector<std::string>& names,
                             const std::vector<bool>& chosen) {
    TrendWindow->SetRows(names, chosen);
}

void TMainForm::SetTrendPeriod(int period) {
    TrendWindow->SetPeriod(period);
}

// Painted only while shown.
void TMainForm::TrendChanged() {
    if (TrendWindow->isVisible()) TrendWindow->Plot->Refresh();
}

int TMainForm::ActivePage() const {
    return PageControl1->currentIndex();
}

void TMainForm::SetActivePage(int page) {
    PageControl1->setCurrentIndex(page);
}

void TMainForm::SetTimerEnabled(bool enabled) {
    if (enabled)
        Timer1->start();
    else
        Timer1->stop();
}

void TMainForm::ShowMessage(const std::string& text, Icon icon) {
    messages_.Show(Q(text), icon);
}

std::string TMainForm::DecimalSeparator() const {
    return QLocale().decimalPoint().toStdString();
}
