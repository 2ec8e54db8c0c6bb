#include "database/ParameterSets.h"

#include <algorithm>

#include "formula/EvaluateFormula.h"

ParameterSets::ParameterSets(const Definitions& parameters) : parameters_(parameters) {
    for (std::size_t k = 0; k < SlotMap.size(); ++k) SlotMap[k] = static_cast<std::uint8_t>(k);
    SelectSet(0);
}

void ParameterSets::SelectSet(int setIndex) {
    LiveBlock.fill(0);
    Values.fill(0.0);
    Selection = {};
    Slots = SlotsOf(setIndex);
}

ParameterSets::SlotDefinitions ParameterSets::SlotsOf(int setIndex) const {
    setIndex = std::clamp(setIndex, 0, SetCount - 1);
    SlotDefinitions slots{};
    for (int slot = 0; slot < SlotCount; ++slot) {
        // An entry past the table selects the last definition rather than failing.
        const std::size_t entry =
            std::min<std::size_t>(SlotMap[SlotCount * setIndex + slot], parameters_.size() - 1);
        slots[slot] = &parameters_[entry];
    }
    return slots;
}

void ParameterSets::ComputeValues(const std::uint8_t* block) {
    std::copy(block, block + LiveBlock.size(), LiveBlock.begin());
    for (int slot = 0; slot < SlotCount; ++slot) {
        const auto word =
            static_cast<std::uint16_t>(LiveBlock[2 * slot] | LiveBlock[2 * slot + 1] << 8);
        const double raw =
            Slots[slot]->Signed ? double(static_cast<std::int16_t>(word)) : double(word);
        Values[slot] = EvaluateFormula(Slots[slot]->Formula, raw);
    }
}

std::array<std::uint32_t, SlotCount> ParameterSets::SlotAddresses() const {
    std::array<std::uint32_t, SlotCount> addresses{};
    for (int slot = 0; slot < SlotCount; ++slot)
        addresses[slot] = static_cast<std::uint32_t>(Slots[slot]->Address);
    return addresses;
}

std::optional<double> ShownValue(const ParameterSets& sets, int slot) {
    if (slot < 0 || slot >= sets.Selection.Accepted) return std::nullopt;
    return sets.Values[static_cast<std::size_t>(slot)];
}
