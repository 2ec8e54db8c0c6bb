#pragma once
// The live values of a recorded session through the definitions at hand: each
// slot shows the definition whose address the recording selected into it, so a
// recording made with one database.ini can be read with another. A slot whose
// address no definition has shows its raw word.

#include <array>
#include <cstdint>
#include <optional>

#include "database/DefinitionDatabase.h"
#include "database/ParameterSets.h"

class RecordedLiveValues {
public:
    explicit RecordedLiveValues(const DefinitionDatabase& definitions);

    // A selection as the ECU answered it. Slot 0 begins a new selection; the
    // slots then count as selected in order up to the first refusal, as in the
    // session that recorded it. `answer` is the status byte, if one came.
    void Select(std::uint8_t slot, std::uint16_t address, SelectStatus status,
                std::optional<std::uint8_t> answer);
    // A live block that came whole: the values of all sixteen slots.
    void ComputeValues(const std::uint8_t* block) { sets_.ComputeValues(block); }

    // What the live output shows: each slot's definition, the values and how
    // far the last selection got.
    const ParameterSets& Sets() const { return sets_; }

private:
    const ParameterDef& DefinitionOf(std::uint8_t slot, std::uint16_t address);

    const DefinitionDatabase& definitions_;
    ParameterSets sets_;
    std::array<ParameterDef, SlotCount> unknown_;
};
