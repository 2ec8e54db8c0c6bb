// What the behaviour shows, put into the controls (the window's view tells
// which texts differ from what a control shows: window/WindowView.cpp).

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

std::string TMainForm::ShownCell(int list, int row, int column) const {
    return ListOfPage(list)->item(row, column)->text().toStdString();
}

void TMainForm::PutCell(int list, int row, int column, const std::string& text) {
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

std::string TMainForm::ShownMemo() const {
    return Memo1->toPlainText().toStdString();
}

void TMainForm::PutMemo(const std::string& text) {
    Memo1->setPlainText(Q(text));
}

std::string TMainForm::ShownBox(int box) const {
    return LabeledEdits[static_cast<std::size_t>(box)]->text().toStdString();
}

// A text wider than its box shows from its start (a VIN's first letters say
// most), not from its end, where setting a text leaves the cursor.
void TMainForm::PutBox(int box, const std::string& text) {
    QLineEdit& edit = *LabeledEdits[static_cast<std::size_t>(box)];
    edit.setText(Q(text));
    edit.setCursorPosition(0);
}

std::string TMainForm::ShownCounter(int counter) const {
    return MaskEdits[static_cast<std::size_t>(counter)]->displayText().toStdString();
}

void TMainForm::PutCounter(int counter, const CounterText& text) {
    ShowCounter(*MaskEdits[static_cast<std::size_t>(counter)], text);
}

std::string TMainForm::ShownPanel(int panel) const {
    return Panels[static_cast<std::size_t>(panel)]->text().toStdString();
}

void TMainForm::PutPanel(int panel, const std::string& text) {
    Panels[static_cast<std::size_t>(panel)]->setText(Q(text));
}

void TMainForm::SetPanelTip(int panel, const std::string& tip) {
    Panels[static_cast<std::size_t>(panel)]->setToolTip(Q(tip));
}

TrendView& TMainForm::Trend() {
    return *TrendWindow;
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

void TMainForm::ShowNotice(const std::string& caption, const std::string& text) {
    messages_.ShowNotice(Q(caption), Q(text));
}

void TMainForm::OpenFile(const std::filesystem::path& path) {
    messages_.OpenFile(QString::fromStdU16String(path.u16string()));
}

std::string TMainForm::DecimalSeparator() const {
    return QLocale().decimalPoint().toStdString();
}
