// The pages' share of the window: the texts of the language, the rows of the
// two parameter lists and the live values shown in them, and the tick's work
// on each page.

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "app/ListCellDelegate.h"
#include "app/MainForm.h"
#include "app/QtText.h"
#include "database/LiveData.h"
#include "database/ValueText.h"

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

// The errors page and the ECU information page are read here; until their
// requests are in place their ticks send nothing.
void TMainForm::PollErrors() {}

void TMainForm::PollEcuInfo() {}
