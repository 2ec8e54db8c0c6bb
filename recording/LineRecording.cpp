#include "recording/LineRecording.h"

#include <algorithm>
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

std::string Quoted(std::string_view text) {
    constexpr std::size_t Shown = 40;
    if (text.size() > Shown) return "'" + std::string(text.substr(0, Shown)) + "...'";
    return "'" + std::string(text) + "'";
}

std::string Number(std::uint64_t number) {
    std::string text;
    AppendNumber(text, number);
    return text;
}

std::optional<std::uint64_t> WholeNumber(std::string_view text) {
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
    return number;
}

// The words of a line, split at single spaces; an empty word means two
// spaces, or one at an end, which the recorder never writes.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (std::size_t from = 0;;) {
        const std::size_t space = line.find(' ', from);
        words.push_back(line.substr(from, space - from));
        if (space == std::string_view::npos) return words;
        from = space + 1;
    }
}

// Reads the lines after the first one; each fault names its line.
class Reader {
public:
    explicit Reader(LineRecording& recording) : recording_(recording) {}

    std::optional<std::string> Line(std::string_view line, std::size_t number);
    // At the end of the text: a write may not be left without its echo.
    std::optional<RecordingFault> End() const;

private:
    std::optional<std::string> Transfer(const std::vector<std::string_view>& words,
                                        RecordedTransfer& transfer) const;
    std::optional<std::string> Bytes(const std::vector<std::string_view>& words, std::size_t from,
                                     std::size_t most, RecordedTransfer& transfer) const;
    const RecordedTransfer* Last() const {
        return recording_.Transfers.empty() ? nullptr : &recording_.Transfers.back();
    }

    LineRecording& recording_;
};

std::optional<std::string> Reader::Line(std::string_view line, std::size_t number) {
    if (line.empty() || line.front() == '#') return {};
    if (line.starts_with("started ") || line == "started") {
        if (!recording_.Started.empty()) return "a second 'started' line";
        if (!recording_.Ports.empty() || Last())
            return "a 'started' line after the recording has begun";
        const std::string_view time = line.substr(std::min<std::size_t>(line.size(), 8));
        if (!ParseStartTime(time))
            return Quoted(time) + " is not a start time of the form 2025-03-14T09:26:53.589Z";
        recording_.Started = std::string(time);
        return {};
    }
    if (line.starts_with("port ") || line == "port") {
        if (const RecordedTransfer* last = Last(); last && last->What == Kind::Write)
            return "a port line between the write of line " + Number(last->Line) + " and its echo";
        if (line.size() <= 5) return "a port line without the port";
        // A CR of its own would read back differently once written out.
        if (std::ranges::any_of(line, IsControl)) return "a control character in the port line";
        recording_.Ports.push_back(
            {std::string(line.substr(5)), recording_.Transfers.size(), number});
        return {};
    }
    const std::vector<std::string_view> words = Words(line);
    for (std::string_view word : words)
        if (word.empty()) return "a space too many in " + Quoted(line);
    RecordedTransfer transfer;
    transfer.Line = number;
    const auto micros = WholeNumber(words[0]);
    if (!micros)
        return "the line starts with " + Quoted(words[0]) +
               " instead of the time of a transfer in microseconds";
    transfer.Micros = *micros;
    if (const RecordedTransfer* last = Last(); last && transfer.Micros < last->Micros)
        return "the time goes back, from " + Number(last->Micros) + " to " +
               Number(transfer.Micros) + " microseconds";
    if (auto fault = Transfer(words, transfer)) return fault;
    const RecordedTransfer* last = Last();
    const bool afterWrite = last && last->What == Kind::Write;
    if (afterWrite && transfer.What != Kind::Echo)
        return "the write of line " + Number(last->Line) + " is not followed by its echo";
    if (!afterWrite && transfer.What == Kind::Echo) return "an echo that follows no write";
    if (afterWrite && transfer.Bytes.size() > last->Bytes.size())
        return "an echo of " + Number(transfer.Bytes.size()) + " bytes to a write of " +
               Number(last->Bytes.size());
    recording_.Transfers.push_back(std::move(transfer));
    return {};
}

std::optional<std::string> Reader::Transfer(const std::vector<std::string_view>& words,
                                            RecordedTransfer& transfer) const {
    const std::string_view what = words.size() > 1 ? words[1] : std::string_view();
    if (what == "purge") {
        transfer.What = Kind::Purge;
        if (words.size() > 2) return "a purge carries no bytes";
        return {};
    }
    if (what == ">") {
        transfer.What = Kind::Write;
        return Bytes(words, 2, MaxTransferBytes, transfer);
    }
    if (what != "<") return "no transfer: " + Quoted(what) + " is not '>', '<' or 'purge'";
    const std::string_view read = words.size() > 2 ? words[2] : std::string_view();
    if (read == "echo") {
        transfer.What = Kind::Echo;
        return Bytes(words, 3, MaxTransferBytes, transfer);
    }
    if (read == "byte") {
        transfer.What = Kind::ReadByte;
        return Bytes(words, 3, 1, transfer);
    }
    if (read != "read") return "a read of unknown kind " + Quoted(read);
    transfer.What = Kind::Read;
    const auto asked = WholeNumber(words.size() > 3 ? words[3] : std::string_view());
    if (!asked || *asked > MaxTransferBytes)
        return "a read without its count of 0 to " + Number(MaxTransferBytes) + " bytes";
    transfer.Asked = static_cast<std::size_t>(*asked);
    return Bytes(words, 4, transfer.Asked, transfer);
}

std::optional<std::string> Reader::Bytes(const std::vector<std::string_view>& words,
                                         std::size_t from, std::size_t most,
                                         RecordedTransfer& transfer) const {
    if (words.size() > from + most)
        return Number(words.size() - from) + " bytes where at most " + Number(most) + " fit";
    for (std::size_t i = from; i < words.size(); ++i) {
        const std::string_view word = words[i];
        std::uint8_t byte = 0;
        const char* end = word.data() + word.size();
        const auto [stop, error] = std::from_chars(word.data(), end, byte, 16);
        if (word.size() != 2 || error != std::errc() || stop != end)
            return Quoted(word) + " is not a byte of two hexadecimal digits";
        transfer.Bytes.push_back(byte);
    }
    if (transfer.What != Kind::Read) transfer.Asked = transfer.Bytes.size();
    return {};
}

std::optional<RecordingFault> Reader::End() const {
    const RecordedTransfer* last = Last();
    if (last && last->What == Kind::Write)
        return RecordingFault{last->Line,
                              "the write has no echo line after it: the recording is cut short"};
    return {};
}

std::optional<RecordingFault> ReadLines(std::string_view text, LineRecording& recording) {
    Reader reader(recording);
    std::size_t number = 0;
    for (std::size_t from = 0; from < text.size() || number == 0;) {
        ++number;
        const std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) {
            if (text.empty()) return RecordingFault{1, "an empty file, not a line recording"};
            return RecordingFault{number, "the line has no end: the recording is cut short"};
        }
        std::string_view line = text.substr(from, end - from);
        from = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (number == 1) {
            if (line == RecordingFormatLine) continue;
            const std::string_view family = "vmxdiag line recording ";
            if (line.starts_with(family))
                return RecordingFault{1, "a recording of format " +
                                             Quoted(line.substr(family.size())) +
                                             ", which this program does not read (it reads 1)"};
            return RecordingFault{1, "not a line recording: its first line must be '" +
                                         std::string(RecordingFormatLine) + "'"};
        }
        if (auto fault = reader.Line(line, number)) return RecordingFault{number, *fault};
    }
    return reader.End();
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
    AppendNumber(text, micros);
    switch (what) {
        case Kind::Purge:
            text += " purge";
            break;
        case Kind::Write:
            text += " >";
            break;
        case Kind::Echo:
            text += " < echo";
            break;
        case Kind::ReadByte:
            text += " < byte";
            break;
        case Kind::Read:
            text += " < read ";
            AppendNumber(text, asked);
            break;
    }
    AppendBytes(text, bytes, count);
    text += '\n';
}

std::optional<RecordingFault> ParseRecording(std::string_view text, LineRecording& recording) {
    recording = {};
    auto fault = ReadLines(text, recording);
    // Half a recording must not be taken for a whole one.
    if (fault) recording = {};
    return fault;
}
