#include "recording/RecordedLiveValues.h"

#include <string>

RecordedLiveValues::RecordedLiveValues(const DefinitionDatabase& definitions)
    : definitions_(definitions), sets_(definitions.Parameters) {}

void RecordedLiveValues::Select(std::uint8_t slot, std::uint16_t address, SelectStatus status,
                                std::optional<std::uint8_t> answer) {
    if (slot >= SlotCount) return;
    SlotSelection& selection = sets_.Selection;
    if (slot == 0) selection = {};
    sets_.Slots[slot] = &DefinitionOf(slot, address);
    if (slot != selection.Accepted || selection.Refusal != SelectAccepted) return;
    if (status >= 0) {
        ++selection.Accepted;
    } else {
        selection.Refusal = status;
        selection.RefusalByte = answer;
    }
}

const ParameterDef& RecordedLiveValues::DefinitionOf(std::uint8_t slot, std::uint16_t address) {
    const auto holds = [address](const ParameterDef& def) {
        return (static_cast<std::uint32_t>(def.Address) & 0xFFFF) == address;
    };
    // The definition that a set puts in this slot is the likeliest one; then
    // any with the address.
    for (int set = 0; set < ParameterSets::SetCount; ++set) {
        const ParameterDef& def = definitions_.Parameters[sets_.SlotMap[SlotCount * set + slot]];
        if (holds(def)) return def;
    }
    for (const ParameterDef& def : definitions_.Parameters)
        if (holds(def)) return def;
    ParameterDef& unknown = unknown_[slot];
    constexpr char Hex[] = "0123456789ABCDEF";
    const std::string code = {Hex[address >> 12], Hex[address >> 8 & 0xF], Hex[address >> 4 & 0xF],
                              Hex[address & 0xF]};
    unknown.CodeEn = code;
    unknown.NameRu = unknown.NameEn = "(address " + code + " not defined)";
    unknown.UnitRu = unknown.UnitEn = "";
    unknown.Formula = "X";
    unknown.Digits = 0;
    unknown.Signed = false;
    unknown.Address = address;
    return unknown;
}
