#pragma once
// How the front ends show the texts of the ECU information read: the label
// each has on the window's ECU information page (`info` and `replay` print the
// same), and the box of that page that shows it.

#include <array>
#include <string>

#include "lang/Lang.h"
#include "protocol/EcuTextFields.h"

struct EcuTextLabel {
    std::string EcuProtocol::*Text;
    Lang::Entry Label;
    // LabeledEdit1 to LabeledEdit8 are boxes 0 to 7, MaskEdit1 to MaskEdit6
    // (the counters) 8 to 13.
    int Box;
};

inline constexpr int LabeledEditCount = 8;
inline constexpr int MaskEditCount = 6;

inline constexpr std::array<EcuTextLabel, LabeledEditCount + MaskEditCount> EcuTextLabels{{
    {&EcuProtocol::ProgramVersion, Lang::ProgramVersionLabel, 1},
    {&EcuProtocol::ApplicationId, Lang::ApplicationIdLabel, 2},
    {&EcuProtocol::WholeWorkingTime, Lang::WholeWorkingTimeLabel, 8},
    {&EcuProtocol::NearIdleTime, Lang::NearIdleTimeLabel, 9},
    {&EcuProtocol::HighSpeedSmallLoadTime, Lang::HighSpeedSmallLoadTimeLabel, 10},
    {&EcuProtocol::PartialLoadTime, Lang::PartialLoadTimeLabel, 11},
    {&EcuProtocol::MaximumLoadTime, Lang::MaximumLoadTimeLabel, 12},
    {&EcuProtocol::RackZeroPosition, Lang::RackZeroPositionLabel, 13},
    {&EcuProtocol::ManufacturerCode, Lang::ManufacturerCodeLabel, 3},
    {&EcuProtocol::ProductionDate, Lang::ProductionDateLabel, 4},
    {&EcuProtocol::SerialNumber, Lang::SerialNumberLabel, 7},
    {&EcuProtocol::UserCode, Lang::UserLabel, 6},
    {&EcuProtocol::LastProgrammingDate, Lang::LastProgrammingDateLabel, 5},
    {&EcuProtocol::Vin, Lang::VinLabel, 0},
}};

// The label of a field the read fills.
constexpr Lang::Entry EcuTextLabelOf(const EcuTextField& field) {
    for (const EcuTextLabel& label : EcuTextLabels)
        if (label.Text == field.Text) return label.Label;
    return Lang::FilledEntries;
}

// The field a label is of.
constexpr const EcuTextField& EcuTextFieldOf(const EcuTextLabel& label) {
    for (const EcuTextField& field : EcuTextFields)
        if (field.Text == label.Text) return field;
    return EcuTextFields.back();
}

// What a box shows.
constexpr const EcuTextLabel& EcuTextLabelOfBox(int box) {
    for (const EcuTextLabel& label : EcuTextLabels)
        if (label.Box == box) return label;
    return EcuTextLabels.back();
}

// Every field the read fills has its label.
static_assert([] {
    for (const EcuTextField& field : EcuTextFields)
        if (EcuTextLabelOf(field) == Lang::FilledEntries) return false;
    return EcuTextFields.size() == EcuTextLabels.size();
}());
