#include "recording/RecordingReader.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <vector>

#include "platform/RegularFile.h"

namespace {

using Kind = RecordedTransfer::Kind;

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t Shown = 40;
    if (text.size() > Shown) return "'" + std::string(text.substr(0, Shown)) + "...'";
    return "'" + std::string(text) + "'";
}

std::string Number(std::uint64_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    return std::string(digits, end);
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

// Reads the lines after the first one into a recording; each fault names its line.
class LineReader {
public:
    explicit LineReader(LineRecording& recording) : recording_(recording) {}

    std::optional<std::string> Line(std::string_view line, std::size_t number);
    // At the end of the text: a write left without its echo is taken out
    // again, and said.
    std::optional<RecordingFault> End();

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

std::optional<std::string> LineReader::Line(std::string_view line, std::size_t number) {
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

std::optional<std::string> LineReader::Transfer(const std::vector<std::string_view>& words,
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

std::optional<std::string> LineReader::Bytes(const std::vector<std::string_view>& words,
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

std::optional<RecordingFault> LineReader::End() {
    const RecordedTransfer* last = Last();
    if (!last || last->What != Kind::Write) return {};
    RecordingFault cut{last->Line,
                       "the write has no echo line after it: the recording is cut short"};
    recording_.Transfers.pop_back();
    return cut;
}

constexpr std::string_view FormatFamily = "vmxdiag line recording ";

// Why a first line is not the format line, or nothing when it is.
std::optional<std::string> FirstLineFault(std::string_view line) {
    if (line == RecordingFormatLine) return {};
    if (line.starts_with(FormatFamily))
        return "a recording of format " + Quoted(line.substr(FormatFamily.size())) +
               ", which this program does not read (it reads 1)";
    return "not a line recording: its first line must be '" + std::string(RecordingFormatLine) +
           "'";
}

// Whether the start of a first line can still become the format line, or
// that of another format.
bool MayBeginARecording(std::string_view start) {
    const std::size_t common = std::min(start.size(), FormatFamily.size());
    return start.substr(0, common) == FormatFamily.substr(0, common);
}

}  // namespace

RecordingReader::RecordingReader(LineRecording& recording) : recording_(recording) {
    recording_ = {};
}

bool RecordingReader::Take(std::string_view bytes) {
    if (fault_) return false;
    empty_ = empty_ && bytes.empty();
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view part = bytes.substr(0, end);
        if (pending_.size() + part.size() > MaxLineBytes)
            return Refuse(lines_ + 1, "the line is longer than " + Number(MaxLineBytes) +
                                          " bytes, which no line of a recording is");
        if (end == std::string_view::npos) {
            pending_ += part;
            // A first line that cannot become the format line is refused at
            // once, not at its end, which may be a gigabyte away.
            if (lines_ == 0 && !MayBeginARecording(pending_))
                return Refuse(1, *FirstLineFault(pending_));
            return true;
        }
        bool read = true;
        if (pending_.empty()) {
            read = Line(part);
        } else {
            pending_ += part;
            read = Line(pending_);
            pending_.clear();
        }
        if (!read) return false;
        bytes.remove_prefix(end + 1);
    }
    return true;
}

bool RecordingReader::Line(std::string_view line) {
    const std::size_t number = ++lines_;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (number == 1) {
        if (auto fault = FirstLineFault(line)) return Refuse(1, std::move(*fault));
        return true;
    }
    if (auto fault = LineReader(recording_).Line(line, number))
        return Refuse(number, std::move(*fault));
    return true;
}

void RecordingReader::Finish() {
    if (fault_) return;
    if (empty_) {
        Refuse(1, "an empty file, not a line recording");
        return;
    }
    if (pending_.empty()) {
        cutShort_ = LineReader(recording_).End();
        return;
    }
    if (std::string_view first = pending_; lines_ == 0) {
        if (first.ends_with('\r')) first.remove_suffix(1);
        if (!RecordingFormatLine.starts_with(first)) {
            Refuse(1, *FirstLineFault(first));
            return;
        }
    }
    cutShort_ = RecordingFault{lines_ + 1, "the line has no end: the recording is cut short"};
    pending_.clear();
    // The request under way may have lost the rest of its reply with the
    // line: only whole requests are kept.
    auto& transfers = recording_.Transfers;
    const auto lastWrite = std::find_if(transfers.rbegin(), transfers.rend(),
                                        [](const auto& t) { return t.What == Kind::Write; });
    if (lastWrite == transfers.rend()) return;
    transfers.erase(std::prev(lastWrite.base()), transfers.end());
    std::erase_if(recording_.Ports,
                  [&](const RecordedPort& port) { return port.Before > transfers.size(); });
}

bool RecordingReader::Refuse(std::size_t line, std::string message) {
    fault_ = RecordingFault{line, std::move(message)};
    // Half a recording must not be taken for a whole one.
    recording_ = {};
    pending_.clear();
    return false;
}

std::optional<RecordingFault> ParseRecording(std::string_view text, LineRecording& recording) {
    RecordingReader reader(recording);
    reader.Take(text);
    reader.Finish();
    if (reader.Fault()) return reader.Fault();
    if (reader.CutShort()) {
        recording = {};
        return reader.CutShort();
    }
    return {};
}

RecordingFileRead ReadRecordingFile(const std::filesystem::path& path, LineRecording& recording) {
    RecordingFileRead result;
    RecordingReader reader(recording);
    const FileRead read = ReadRegularFileInPieces(
        path, MaxRecordingBytes, [&reader](std::string_view piece) { return reader.Take(piece); });
    if (read.Outcome == FileReadOutcome::TooLarge) {
        result.Unreadable = "it is " + Number(read.Size) + " bytes (" + Number(read.Size >> 20) +
                            " MB), more than the " + Number(MaxRecordingBytes >> 20) +
                            " MB a recording may have";
    } else if (read.Outcome != FileReadOutcome::Read) {
        result.Unreadable = read.Reason;
    }
    if (!result.Unreadable.empty()) {
        recording = {};
        return result;
    }
    reader.Finish();
    result.Fault = reader.Fault();
    result.CutShort = reader.CutShort();
    return result;
}
