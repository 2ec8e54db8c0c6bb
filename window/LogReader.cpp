#include "window/LogReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/RegularFile.h"
#include "text/Utf8Sequence.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The text made safe to show: control characters and bytes that are no UTF-8
// become '?'; cut after `most` characters, which "..." then says.
std::string Shown(std::string_view text, std::size_t most) {
    std::string shown;
    for (std::size_t characters = 0; !text.empty(); ++characters) {
        if (characters == most) return shown + "...";
        const auto byte = static_cast<unsigned char>(text.front());
        const std::size_t length = Utf8SequenceLength(text);
        if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && length == 1))
            shown += '?';
        else
            shown += text.substr(0, length);
        text.remove_prefix(length);
    }
    return shown;
}

// The fields of a line at the separator. A field that begins with a quote
// runs to the quote that ends it, a doubled quote standing for one inside;
// the view is then of its inside, doubled quotes as written. False when a
// quote is out of place: the fields cannot be told apart.
bool SplitFields(std::string_view line, char separator, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t at = 0;
    for (;;) {
        if (at < line.size() && line[at] == '"') {
            std::size_t close = at + 1;
            for (;; close += 2) {
                close = line.find('"', close);
                if (close == std::string_view::npos) return false;
                if (close + 1 >= line.size() || line[close + 1] != '"') break;
            }
            fields.push_back(line.substr(at + 1, close - at - 1));
            at = close + 1;
            if (at == line.size()) return true;
            if (line[at] != separator) return false;
            ++at;
            continue;
        }
        const std::size_t end = line.find(separator, at);
        const std::string_view field = line.substr(at, end - at);
        if (field.find('"') != std::string_view::npos) return false;
        fields.push_back(field);
        if (end == std::string_view::npos) return true;
        at = end + 1;
    }
}

std::string Unquoted(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        text += field[i];
        if (field[i] == '"') ++i;
    }
    return text;
}

bool IsTime(std::string_view field) {
    constexpr std::string_view Time = "time";
    return field.size() == Time.size() &&
           std::equal(field.begin(), field.end(), Time.begin(),
                      [](char a, char b) { return (a | 0x20) == b; });
}

// "NMOT [rpm]" is code NMOT and unit rpm; a heading without a bracketed end
// is a code alone.
LogColumn ColumnOf(std::string heading) {
    LogColumn column;
    column.Code = heading;
    const std::size_t open = heading.rfind(" [");
    if (heading.ends_with(']') && open != std::string::npos) {
        column.Code = heading.substr(0, open);
        column.Unit = heading.substr(open + 2, heading.size() - open - 3);
    }
    column.Heading = std::move(heading);
    return column;
}

// A value field: empty is a gap; otherwise a number as the dialect writes it
// (a decimal comma after ';'), NAN, INF or -INF. False when it is none of these.
bool ParseValue(std::string_view field, char separator, double& value, LogCell& cell) {
    if (field.empty()) {
        value = std::numeric_limits<double>::quiet_NaN();
        cell = LogCell::Gap;
        return true;
    }
    // Longer than any number the tool writes.
    char text[48];
    if (field.size() > sizeof text) return false;
    std::copy(field.begin(), field.end(), text);
    if (separator == ';') std::replace(text, text + field.size(), ',', '.');
    const char* end = text + field.size();
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end) return false;
    cell = std::isnan(value)   ? LogCell::NotANumber
           : std::isinf(value) ? (value > 0 ? LogCell::PlusInfinity : LogCell::MinusInfinity)
                               : LogCell::Number;
    return true;
}

}  // namespace

LogReader::LogReader(LogTable& table, std::size_t mostRows) : table_(table), mostRows_(mostRows) {
    table_ = {};
}

bool LogReader::Take(std::string_view bytes) {
    if (fault_) return false;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view part = bytes.substr(0, end);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (discarding_) {
            // The rest of a row counted already.
            discarding_ = end == std::string_view::npos;
        } else if (pending_.size() + part.size() > MaxLineBytes) {
            if (!headerRead_)
                return Refuse(LogFault::Kind::NotAHeader, pending_ + std::string(part));
            ++lines_;
            if (!CountRow()) return false;
            Skip(LogSkip::Kind::TooLong);
            pending_.clear();
            discarding_ = end == std::string_view::npos;
        } else if (end == std::string_view::npos) {
            pending_ += part;
        } else if (pending_.empty()) {
            if (!Line(part)) return false;
        } else {
            pending_ += part;
            const bool read = Line(pending_);
            pending_.clear();
            if (!read) return false;
        }
        bytes.remove_prefix(next);
    }
    return true;
}

void LogReader::Finish() {
    if (fault_) return;
    discarding_ = false;
    if (!headerRead_) {
        // A header without a line end is a log without rows; a mark alone, nothing.
        if (pending_.empty() || pending_ == ByteOrderMark)
            Refuse(LogFault::Kind::Empty, {});
        else
            Line(pending_);
    } else if (!pending_.empty() && pending_ != "\r") {
        ++lines_;
        if (!CountRow()) return;
        Skip(LogSkip::Kind::NoLineEnd);
    }
    pending_.clear();
}

bool LogReader::Line(std::string_view line) {
    ++lines_;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!headerRead_) return Header(line);
    if (line.empty()) return true;
    if (!CountRow()) return false;
    Row(line);
    return true;
}

bool LogReader::Header(std::string_view line) {
    if (line.starts_with(ByteOrderMark)) line.remove_prefix(ByteOrderMark.size());
    // The separator is the one that sets "time" apart as a field of its own;
    // ';' first, since a name may hold a ',' in that dialect unquoted.
    for (const char separator : {';', ','}) {
        if (!SplitFields(line, separator, fields_) || fields_.size() < 2) continue;
        const auto time = std::find_if(fields_.begin(), fields_.end(), IsTime);
        if (time == fields_.end()) continue;
        separator_ = separator;
        timeField_ = static_cast<std::size_t>(time - fields_.begin());
        fieldCount_ = fields_.size();
        std::vector<LogColumn> columns;
        for (std::size_t i = 0; i < fields_.size(); ++i)
            if (i != timeField_)
                columns.push_back(ColumnOf(Shown(Unquoted(fields_[i]), MaxLineBytes)));
        // No more values than the tool's columns have at the most rows.
        rowLimit_ = std::max<std::size_t>(
            1, mostRows_ * LogColumnsOfTheTool / std::max(LogColumnsOfTheTool, columns.size()));
        values_.resize(columns.size());
        cells_.resize(columns.size());
        table_.SetColumns(std::move(columns));
        headerRead_ = true;
        return true;
    }
    return Refuse(LogFault::Kind::NotAHeader, line);
}

void LogReader::Row(std::string_view line) {
    if (!SplitFields(line, separator_, fields_) || fields_.size() != fieldCount_) {
        Skip(LogSkip::Kind::Fields, fields_.size());
        return;
    }
    const auto time = ParseLogTime(fields_[timeField_]);
    if (!time) {
        Skip(LogSkip::Kind::Time, timeField_ + 1);
        return;
    }
    std::size_t column = 0;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (i == timeField_) continue;
        if (!ParseValue(fields_[i], separator_, values_[column], cells_[column])) {
            Skip(LogSkip::Kind::Number, i + 1);
            return;
        }
        ++column;
    }
    if (table_.Rows() == 0 && expectedBytes_ > 0) {
        // Room for the rows the file may hold, judged by the first, so that
        // the columns are not copied again and again as they grow.
        const std::uint64_t guess = expectedBytes_ / (line.size() + 1) * 5 / 4 + 16;
        table_.Reserve(static_cast<std::size_t>(std::min<std::uint64_t>(guess, rowLimit_)));
    }
    table_.AddRow(*time, values_.data(), cells_.data());
}

bool LogReader::CountRow() {
    if (++rows_ <= rowLimit_) return true;
    return Refuse(LogFault::Kind::TooManyRows, {});
}

void LogReader::Skip(LogSkip::Kind what, std::size_t field) {
    if (skipped_++ == 0) firstSkip_ = LogSkip{what, lines_, field};
}

bool LogReader::Refuse(LogFault::Kind what, std::string_view line) {
    constexpr std::size_t ShownCharacters = 40;
    fault_ = LogFault{what, std::max<std::size_t>(lines_, 1), Shown(line, ShownCharacters),
                      what == LogFault::Kind::TooManyRows ? rowLimit_ : 0};
    // Half a log must not be taken for a whole one.
    table_ = {};
    pending_.clear();
    return false;
}

LogFileRead ReadLogFile(const std::filesystem::path& path, LogTable& table, std::size_t mostRows) {
    LogFileRead result;
    LogReader reader(table, mostRows);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) reader.ExpectBytes(size);
    const FileRead read =
        ReadRegularFileInPieces(path, std::numeric_limits<std::uint64_t>::max(),
                                [&reader](std::string_view piece) { return reader.Take(piece); });
    if (read.Outcome != FileReadOutcome::Read) {
        result.Unreadable = read.Reason;
        table = {};
        return result;
    }
    reader.Finish();
    result.Fault = reader.Fault();
    result.Skipped = reader.Skipped();
    result.FirstSkip = reader.FirstSkip();
    return result;
}
