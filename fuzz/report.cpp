// Arbitrary bytes as the ECU's replies to a report's requests and as the
// texts of database.ini: no reply or text may crash the reading or the
// writers, the JSON must parse back with each text as the report holds it, and
// no byte of a text may open markup in the page.
//
// Input: byte 0 chooses the line (echo or not), the language and the set; the
// bytes up to the first 0xA5 are the name of slot 0 of either set and of error
// 0, and the rest is split into replies at each 0xA5 byte, one per request.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "report/ReportHtml.h"
#include "report/ReportJson.h"
#include "report/ReportReading.h"
#include "report/ReportText.h"
#include "support/LinkPort.h"
#include "support/RecordingSink.h"
#include "support/ScriptedLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    ScriptedLink link;
    link.Echo = (data[0] & 1) == 0;
    std::string name;
    std::size_t i = 1;
    for (; i < size && data[i] != 0xA5; ++i) name += static_cast<char>(data[i]);
    const std::size_t replies = std::min(i + 1, size);  // past the 0xA5, if there is one
    link.QueueReplies(data + replies, size - replies);

    static DefinitionDatabase definitions("");
    definitions.LanguageIndex = (data[0] & 2) ? 1 : 0;
    // Slot 0 of either set.
    for (std::size_t first : {0, 16})
        definitions.Parameters[first].NameRu = definitions.Parameters[first].NameEn = name;
    definitions.Errors[0].NameRu = definitions.Errors[0].NameEn = name;
    definitions.ApplyDefinitionLanguage();
    ParameterSets sets(definitions.Parameters);
    RecordingSink sink;
    const auto line = LineOver(sink, link);
    const EcuReport report = ReadEcuReport(*line, definitions, sets, data[0] >> 2, {"fuzz", "1"});

    // A document that does not parse throws, which ends the run as a crash.
    const auto json = nlohmann::json::parse(ReportJson(report));
    if (json["values"]["list"][0]["name"] != ReportText(name)) std::abort();
    const auto& vin = json["identification"]["vin"]["text"];
    if (report.Fields[0].Answer == ReportAnswer::Answered ? vin != ReportText(report.Fields[0].Text)
                                                          : !vin.is_null())
        std::abort();
    const std::string html = ReportHtml(report);
    const std::string shown = ReportText(name);
    if (shown.find('<') != std::string::npos &&
        html.find("<td>" + shown + "</td>") != std::string::npos)
        std::abort();
    return 0;
}
