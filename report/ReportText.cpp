#include "report/ReportText.h"

#include <cstdlib>
#include <ctime>

#include "platform/LocalTime.h"
#include "text/Printable.h"
#include "text/Utf8Sequence.h"

std::string ReportText(const std::string& cp1251) {
    return Printable(cp1251);
}

std::string ReportUtf8(std::string_view text) {
    std::string shown;
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        const auto first = static_cast<unsigned char>(text.front());
        const bool control = length == 1 && (first < 0x20 || first == 0x7F);
        if ((length == 1 && first >= 0x80) || control)
            shown += '?';
        else
            shown.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return shown;
}

std::string ReportTimeText(std::chrono::system_clock::time_point time) {
    return LocalTimeText(std::chrono::system_clock::to_time_t(time), "%Y-%m-%d %H:%M:%S");
}

std::string ReportTimeStamp(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const std::time_t moment = system_clock::to_time_t(time);
    const std::tm local = LocalTime(moment);
    // The offset is the local calendar time read as if it were UTC, less the
    // moment: strftime's %z is not the same on every system.
    const sys_days day{year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                       std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
    const sys_seconds asUtc =
        day + hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec};
    const long offset = static_cast<long>((asUtc - sys_seconds{seconds{moment}}).count() / 60);
    const auto twoDigits = [](long number) {
        return (number < 10 ? "0" : "") + std::to_string(number);
    };
    const std::string zone = (offset < 0 ? "-" : "+") + twoDigits(std::labs(offset) / 60) + ":" +
                             twoDigits(std::labs(offset) % 60);
    return LocalTimeText(moment, "%Y-%m-%dT%H:%M:%S") + zone;
}
