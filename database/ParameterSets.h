#pragma once
// The two parameter sets of sixteen slots each, and the live values of the set
// selected last: which definition sits in each slot, and how a live block of
// sixteen words becomes sixteen values through the definitions' formulas.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "database/DefinitionDatabase.h"
#include "protocol/SlotSelection.h"

class ParameterSets {
public:
    static constexpr int SetCount = 2;
    using Definitions = std::array<ParameterDef, DefinitionDatabase::DefinitionCount>;
    using SlotDefinitions = std::array<const ParameterDef*, SlotCount>;

    // Slot map entry k = k (set 0 shows definitions 0-15, set 1 definitions
    // 16-31); then set 0 is selected.
    explicit ParameterSets(const Definitions& parameters);

    // Makes Slots refer to the set's sixteen definitions and zeroes LiveBlock
    // and Values. A set index outside 0..1 is limited to that range.
    void SelectSet(int setIndex);
    // The definitions a set puts into the slots, whichever set is selected.
    SlotDefinitions SlotsOf(int setIndex) const;

    // Keeps the 32 bytes of a complete live block and computes all sixteen
    // Values: each word, low byte first, read as signed or not per definition,
    // goes through the definition's formula; a failing formula gives 0.0.
    void ComputeValues(const std::uint8_t* block);

    // The ECU addresses of the current slots, slot 0 first.
    std::array<std::uint32_t, SlotCount> SlotAddresses() const;

    // How far the last assignment of the current set in the ECU got; reset by
    // SelectSet. Values of slots it did not reach come from other addresses.
    SlotSelection Selection;

    std::array<std::uint8_t, SetCount * SlotCount> SlotMap{};
    SlotDefinitions Slots{};
    std::array<std::uint8_t, 2 * SlotCount> LiveBlock{};
    std::array<double, SlotCount> Values{};

private:
    const Definitions& parameters_;
};

// The value of a slot of the current set as the pages show it, or nothing:
// the slots that the last selection did not reach still hold the ECU's
// earlier addresses, so their words belong to other parameters.
std::optional<double> ShownValue(const ParameterSets& sets, int slot);
