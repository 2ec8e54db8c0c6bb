#include "report/EcuReport.h"

#include <algorithm>

bool EcuReport::IdentificationAnswered() const {
    return std::all_of(Fields.begin(), Fields.end(), [](const ReportField& field) {
        return field.Answer == ReportAnswer::Answered ||
               field.Answer == ReportAnswer::NotForThisVersion;
    });
}
