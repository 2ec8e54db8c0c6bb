#include "presentation/LiveCsv.h"

#include <cstdio>
#include <ctime>

#include "database/ValueText.h"
#include "platform/LocalTime.h"
#include "text/Printable.h"

namespace {

// A CSV field, quoted when it holds a separator or a quote.
std::string CsvField(const std::string& text, const CsvStyle& style) {
    if (text.find_first_of(std::string{style.Separator, '"', '\n'}) == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string CsvStart(const CsvStyle& style) {
    return style.ByteOrderMark ? "\xEF\xBB\xBF" : "";
}

std::string CsvHeader(const ParameterSets::SlotDefinitions& rows, const CsvStyle& style) {
    std::string line = "time";
    for (const ParameterDef* def : rows) {
        std::string column = Printable(def->CodeEn);
        if (!def->Unit->empty()) column += " [" + Printable(*def->Unit) + "]";
        line += style.Separator + CsvField(column, style);
    }
    return line + "\n";
}

std::string CsvRow(const ParameterSets& sets, const std::string& time, const CsvStyle& style) {
    std::string line = time;
    for (int slot = 0; slot < SlotCount; ++slot) {
        line += style.Separator;
        if (const auto value = ShownValue(sets, slot))
            line += ValueText(*value, sets.Slots[slot]->Digits, style.Decimal);
    }
    return line + "\n";
}

std::string CsvTime(std::chrono::system_clock::time_point moment) {
    using namespace std::chrono;
    const long long ms = duration_cast<milliseconds>(moment.time_since_epoch()).count() % 1000;
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03lld", ms);
    return LocalTimeText(system_clock::to_time_t(moment), "%Y-%m-%dT%H:%M:%S") + fraction;
}
