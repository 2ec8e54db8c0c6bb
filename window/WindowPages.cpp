// The pages' share of the window: the texts of the language, the rows of the
// two parameter lists and the live values shown in them, and the tick's work
// on each page.

#include "database/ValueText.h"
#include "lang/Lang.h"
#include "line/LivePolling.h"
#include "presentation/EcuTextLabels.h"
#include "protocol/EcuInformation.h"
#include "session/EcuSession.h"
#include "session/ErrorReading.h"
#include "text/CodePage.h"
#include "window/WindowBehaviour.h"

void WindowBehaviour::ApplyLanguage() {
    view_.SetLanguageButtonCaption(Lang::LanguageButtonText(session_->Definitions.LanguageIndex));
    BuildRows();
    view_.SetActionCaption(WindowView::Action::ADiag,
                           Text(Polling ? Lang::StopAction : Lang::StartAction));
    view_.SetActionCaption(WindowView::Action::AResetErrors, Text(Lang::ResetErrorsAction));
    for (int page = 0; page < PageCount; ++page)
        view_.SetPageCaption(page, Text(Lang::FirstSetPage + static_cast<std::size_t>(page)));
    for (int list = 0; list < ParameterSets::SetCount; ++list)
        for (int column = 0; column < 4; ++column)
            view_.SetColumnHeader(list, column,
                                  Text(Lang::CodeColumn + static_cast<std::size_t>(column)));
    for (int box = 0; box < LabeledEditCount + MaskEditCount; ++box)
        view_.SetBoxLabel(box, Text(EcuTextLabelOfBox(box).Label));
    ShowLogPanel();
    ShowTrendTexts();
    ShowTrendRows();
}

// Sixteen rows per list: code, name, an empty value, unit. The second set is
// left as the current one, with no values.
void WindowBehaviour::BuildRows() {
    ParameterSets& sets = session_->Sets;
    for (int set = 0; set < ParameterSets::SetCount; ++set) {
        sets.SelectSet(set);
        for (int slot = 0; slot < SlotCount; ++slot) {
            const ParameterDef& def = *sets.Slots[slot];
            view_.SetCell(set, slot, 0, Cp1251ToUtf8(def.CodeEn));
            view_.SetCell(set, slot, 1, Cp1251ToUtf8(*def.Name));
            view_.SetCell(set, slot, ValueColumn, {});
            view_.SetCell(set, slot, 3, Cp1251ToUtf8(*def.Unit));
        }
    }
}

void WindowBehaviour::PollLiveData() {
    const bool read = ::PollLiveData(session_->Line, session_->Sets, CurrentPage, LinkOk);
    if (read) {
        ShowLiveValues();
        LogValues();
    }
    TrendValues(read);
    MarkStale(CurrentPage, !read);
}

// Only the Value column is written; a slot that the last selection did not
// reach shows nothing, since its word belongs to another parameter.
void WindowBehaviour::ShowLiveValues() {
    if (CurrentPage != 0 && CurrentPage != 1) return;
    const ParameterSets& sets = session_->Sets;
    const std::string separator = view_.DecimalSeparator();
    auto& warnings = warning_[static_cast<std::size_t>(CurrentPage)];
    for (int slot = 0; slot < SlotCount; ++slot) {
        const ParameterDef& def = *sets.Slots[slot];
        const auto value = ShownValue(sets, slot);
        view_.SetCell(CurrentPage, slot, ValueColumn,
                      value ? ValueText(*value, def.Digits, separator) : "");
        const bool warning = value && OutOfRange(def, *value);
        if (warning != warnings[static_cast<std::size_t>(slot)]) {
            warnings[static_cast<std::size_t>(slot)] = warning;
            view_.SetValueWarning(CurrentPage, slot, warning);
        }
    }
    view_.SetPanelText(1, std::to_string(ReadCount));
    // Wraps as the signed 32-bit counter it is, after years of polling.
    ReadCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadCount) + 1u);
}

// The memo is emptied before the read and filled after it; as nothing is
// painted in between, it is written once, with the list or with nothing.
void WindowBehaviour::PollErrors() {
    const auto lines = ReadErrorList(session_->Line, session_->Definitions);
    // Converted as one text: a conversion per line would open the converter
    // 256 times a tick.
    std::string text;
    if (lines) {
        for (const ErrorLine& line : *lines) {
            if (!text.empty()) text += '\n';
            text += line.Code + '\t' + line.Name;
        }
    }
    view_.SetMemoText(Cp1251ToUtf8(text));
    if (!lines) {
        LinkOk = false;  // panel 1 keeps the count of the last read
        return;
    }
    view_.SetPanelText(1, Lang::QuantityOfErrorsText + std::to_string(lines->size()));
    LinkOk = true;
}

// A failed probe or counter read empties every box but the VIN's, which keeps
// the VIN of the last read.
void WindowBehaviour::PollEcuInfo() {
    const bool read = ReadEcuInformation(session_->Line.Ecu());
    LinkOk = read;
    const EcuProtocol& ecu = session_->Line.Ecu();
    for (int box = 0; box < LabeledEditCount + MaskEditCount; ++box) {
        const EcuTextLabel& shown = EcuTextLabelOfBox(box);
        if (!read && shown.Text == &EcuProtocol::Vin) continue;
        const std::string text = read ? ecu.*shown.Text : std::string();
        if (box < LabeledEditCount)
            view_.SetBoxText(box, Cp1251ToUtf8(text));
        else
            view_.SetCounter(box - LabeledEditCount, PlaceCounter(text));
    }
}
