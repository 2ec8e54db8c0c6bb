// The pages' share of the window: the texts of the language, the rows of the
// two parameter lists and the live values shown in them, and the tick's work
// on each page.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <array>

#include "app/CounterMask.h"
#include "app/ListCellDelegate.h"
#include "app/MainForm.h"
#include "app/QtText.h"
#include "database/ErrorList.h"
#include "database/LiveData.h"
#include "database/ValueText.h"
#include "protocol/EcuInformation.h"

namespace {

// Value texts with the user's decimal separator. ValueText takes one ASCII
// character; any other separator is put in afterwards.
class LocalValueText {
public:
    explicit LocalValueText(const QLocale& locale) : point_(locale.decimalPoint()) {
        if (point_.size() == 1 && point_.front().unicode() < 0x80)
            ascii_ = static_cast<char>(point_.front().unicode());
    }
    QString operator()(double value, int digits) const {
        QString text = QString::fromStdString(ValueText(value, digits, ascii_));
        if (ascii_ == '.' && point_ != QStringLiteral(".")) text.replace(u'.', point_);
        return text;
    }

private:
    QString point_;
    char ascii_ = '.';
};

Lang::Entry Plus(Lang::Entry entry, std::size_t offset) {
    return static_cast<Lang::Entry>(entry + offset);
}

// The texts of the session that the boxes show, in the order of the boxes.
using SessionText = std::string EcuProtocol::*;
constexpr std::array<SessionText, 8> LabeledEditTexts{&EcuProtocol::Vin,
                                                      &EcuProtocol::ProgramVersion,
                                                      &EcuProtocol::ApplicationId,
                                                      &EcuProtocol::ManufacturerCode,
                                                      &EcuProtocol::ProductionDate,
                                                      &EcuProtocol::LastProgrammingDate,
                                                      &EcuProtocol::UserCode,
                                                      &EcuProtocol::SerialNumber};
constexpr std::array<SessionText, 6> MaskEditTexts{
    &EcuProtocol::WholeWorkingTime,       &EcuProtocol::NearIdleTime,
    &EcuProtocol::HighSpeedSmallLoadTime, &EcuProtocol::PartialLoadTime,
    &EcuProtocol::MaximumLoadTime,        &EcuProtocol::RackZeroPosition};

// The memo takes a new text only when the list changed: the same text set
// again would lay the document out and paint it anew on every tick, and take
// the user's scrolling back to the top.
void ShowErrorList(QPlainTextEdit& memo, const QString& text) {
    if (memo.toPlainText() != text) memo.setPlainText(text);
}

// A box that shows its text already is left alone, so that the user's cursor
// and selection in it (to copy the VIN, say) outlive the tick.
void ShowText(QLineEdit& box, const QString& text) {
    if (box.text() != text) box.setText(text);
}

}  // namespace

QTableWidget* TMainForm::ListOfPage(int page) const {
    return page == 0 ? ListView1 : ListView2;
}

void TMainForm::ApplyLanguage() {
    const int language = session_->LanguageIndex;
    const auto text = [language](Lang::Entry entry) { return FromUtf8(LangText[language][entry]); };
    LanguageBtn->setText(QString::fromUtf8(Lang::LanguageButtonText(language)));
    BuildRows();
    ADiag->setText(text(Polling ? Lang::StopAction : Lang::StartAction));
    AResetErrors->setText(text(Lang::ResetErrorsAction));
    for (int page = 0; page < PageCount; ++page)
        PageControl1->setTabText(page, text(Plus(Lang::FirstSetPage, page)));
    const QStringList headers{text(Lang::CodeColumn), text(Lang::NameColumn),
                              text(Lang::ValueColumn), text(Lang::UnitColumn)};
    ListView1->setHorizontalHeaderLabels(headers);
    ListView2->setHorizontalHeaderLabels(headers);
    EditLabels[0]->setText(text(Lang::VinLabel));
    for (std::size_t i = 1; i < EditLabels.size(); ++i)
        EditLabels[i]->setText(text(Plus(Lang::ProgramVersionLabel, i - 1)));
    for (std::size_t i = 0; i < Labels.size(); ++i)
        Labels[i]->setText(text(Plus(Lang::WholeWorkingTimeLabel, i)));
}

// Sixteen rows per list: code, name, an empty value, unit. The second set is
// left as the current one, with no values.
void TMainForm::BuildRows() {
    for (int set = 0; set < ParameterSets::SetCount; ++set) {
        QTableWidget* list = ListOfPage(set);
        list->clearContents();
        session_->SelectSet(set);
        for (int slot = 0; slot < SlotCount; ++slot) {
            const ParameterDef& def = *session_->Slots[slot];
            list->setItem(slot, 0, new QTableWidgetItem(FromCp1251(def.CodeEn)));
            list->setItem(slot, 1, new QTableWidgetItem(FromCp1251(*def.Name)));
            list->setItem(slot, ListCellDelegate::ValueColumn, new QTableWidgetItem);
            list->setItem(slot, 3, new QTableWidgetItem(FromCp1251(*def.Unit)));
        }
    }
}

void TMainForm::PollLiveData() {
    if (::PollLiveData(*session_, *session_, CurrentPage, LinkOk)) ShowLiveValues();
}

// Only the Value column is written; a slot that the last selection did not
// reach shows nothing, since its word belongs to another parameter.
void TMainForm::ShowLiveValues() {
    if (CurrentPage != 0 && CurrentPage != 1) return;
    QTableWidget* list = ListOfPage(CurrentPage);
    const LocalValueText valueText{QLocale()};
    for (int slot = 0; slot < SlotCount; ++slot) {
        const auto value = ShownValue(*session_, slot);
        list->item(slot, ListCellDelegate::ValueColumn)
            ->setText(value ? valueText(*value, session_->Slots[slot]->Digits) : QString());
    }
    Panels[1]->setText(QString::number(ReadCount));
    ++ReadCount;
}

// The memo is emptied before the read and filled after it; as nothing is
// painted in between, it is written once, with the list or with nothing.
void TMainForm::PollErrors() {
    const auto lines = ReadErrorList(*session_, *session_, *session_);
    // Converted as one text: a conversion per line would open the converter
    // 256 times a tick.
    std::string text;
    if (lines) {
        for (const ErrorLine& line : *lines) {
            if (!text.empty()) text += '\n';
            text += line.Code + '\t' + line.Name;
        }
    }
    ShowErrorList(*Memo1, FromCp1251(text));
    if (!lines) {
        LinkOk = false;  // panel 1 keeps the count of the last read
        return;
    }
    Panels[1]->setText(QString::fromUtf8(Lang::QuantityOfErrorsText) +
                       QString::number(lines->size()));
    LinkOk = true;
}

// A failed probe or counter read empties every box but the VIN's, which keeps
// the VIN of the last read.
void TMainForm::PollEcuInfo() {
    if (!ReadEcuInformation(*session_)) {
        LinkOk = false;
        for (std::size_t i = 1; i < LabeledEdits.size(); ++i) ShowText(*LabeledEdits[i], {});
        for (QLineEdit* box : MaskEdits) ShowCounter(*box, {});
        return;
    }
    LinkOk = true;
    const EcuProtocol& ecu = *session_;
    for (std::size_t i = 0; i < LabeledEdits.size(); ++i)
        ShowText(*LabeledEdits[i], FromCp1251(ecu.*LabeledEditTexts[i]));
    for (std::size_t i = 0; i < MaskEdits.size(); ++i)
        ShowCounter(*MaskEdits[i], ecu.*MaskEditTexts[i]);
}
