#include "recording/LineRecording.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

using Kind = RecordedTransfer::Kind;

constexpr char HexDigits[] = "0123456789ABCDEF";

void AppendNumber(std::string& text, std::uint64_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text.append(digits, end);
}

// Each byte with a space before it.
void AppendBytes(std::string& text, const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const char hex[3] = {' ', HexDigits[bytes[i] >> 4], HexDigits[bytes[i] & 0x0F]};
        text.append(hex, 3);
    }
}

}  // namespace

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    AppendBytes(text, bytes, count);
    return count == 0 ? text : text.substr(1);
}

std::string RecordingHeader() {
    return std::string(RecordingFormatLine) + "\n";
}

namespace {

void AppendPadded(std::string& text, long long number, int width) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text.append(static_cast<std::size_t>(std::max<long long>(0, width - (end - digits))), '0');
    text.append(digits, end);
}

// A field of `width` digits at `from`, within [least, most].
std::optional<unsigned> Field(std::string_view text, std::size_t from, std::size_t width,
                              unsigned least, unsigned most) {
    unsigned value = 0;
    const char* begin = text.data() + from;
    const auto [end, error] = std::from_chars(begin, begin + width, value);
    if (error != std::errc() || end != begin + width || value < least || value > most) return {};
    return value;
}

}  // namespace

std::string RecordingStartedLine(std::chrono::system_clock::time_point at) {
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(at);
    const auto day = floor<days>(ms);
    const year_month_day date{day};
    const hh_mm_ss time{ms - day};
    std::string line = "started ";
    AppendPadded(line, static_cast<int>(date.year()), 4);
    line += '-';
    AppendPadded(line, static_cast<unsigned>(date.month()), 2);
    line += '-';
    AppendPadded(line, static_cast<unsigned>(date.day()), 2);
    line += 'T';
    AppendPadded(line, time.hours().count(), 2);
    line += ':';
    AppendPadded(line, time.minutes().count(), 2);
    line += ':';
    AppendPadded(line, time.seconds().count(), 2);
    line += '.';
    AppendPadded(line, time.subseconds().count(), 3);
    return line + "Z\n";
}

std::optional<RecordingTime> ParseStartTime(std::string_view text) {
    using namespace std::chrono;
    // 2025-03-14T09:26:53.589Z
    constexpr std::string_view Shape = "0000-00-00T00:00:00.000Z";
    if (text.size() != Shape.size()) return {};
    for (std::size_t i = 0; i < Shape.size(); ++i)
        if (Shape[i] != '0' && text[i] != Shape[i]) return {};
    const auto year = Field(text, 0, 4, 0, 9999);
    const auto month = Field(text, 5, 2, 1, 12);
    const auto day = Field(text, 8, 2, 1, 31);
    const auto hour = Field(text, 11, 2, 0, 23);
    const auto minute = Field(text, 14, 2, 0, 59);
    const auto second = Field(text, 17, 2, 0, 59);
    const auto milli = Field(text, 20, 3, 0, 999);
    if (!year || !month || !day || !hour || !minute || !second || !milli) return {};
    const year_month_day date{std::chrono::year(static_cast<int>(*year)),
                              std::chrono::month(*month), std::chrono::day(*day)};
    if (!date.ok()) return {};
    return sys_days(date) + hours(*hour) + minutes(*minute) + seconds(*second) +
           milliseconds(*milli);
}

std::string RecordingPortLine(std::string_view name, std::string_view device) {
    std::string line = "port ";
    line += name;
    if (!device.empty() && device != name) {
        line += ' ';
        line += device;
    }
    // A device path may hold any byte but a line end; the reader takes none.
    std::ranges::replace_if(line, IsControl, '?');
    return line + "\n";
}

std::string RecordingComment(std::string_view text) {
    std::string line = "# ";
    line += text;
    std::ranges::replace_if(line, IsControl, '?');
    return line + "\n";
}

std::string RecordingText(const LineRecording& recording) {
    std::string text = RecordingHeader();
    if (!recording.Started.empty()) text += "started " + recording.Started + "\n";
    auto port = recording.Ports.begin();
    for (std::size_t i = 0; i <= recording.Transfers.size(); ++i) {
        for (; port != recording.Ports.end() && port->Before == i; ++port)
            text += "port " + port->Text + "\n";
        if (i == recording.Transfers.size()) break;
        const RecordedTransfer& t = recording.Transfers[i];
        AppendTransferLine(text, t.What, t.Micros, t.Bytes.data(), t.Bytes.size(), t.Asked);
    }
    return text;
}

void AppendTransferLine(std::string& text, RecordedTransfer::Kind what, std::uint64_t micros,
                        const std::uint8_t* bytes, std::size_t count, std::size_t asked) {
    // By Kind.
    static constexpr std::array<const char*, 5> words{" purge", " >", " < echo", " < byte",
                                                      " < read "};
    AppendNumber(text, micros);
    text += words[static_cast<std::size_t>(what)];
    if (what == Kind::Read) AppendNumber(text, asked);
    AppendBytes(text, bytes, count);
    text += '\n';
}
