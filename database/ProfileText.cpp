#include "database/ProfileText.h"

#include <algorithm>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string Lower(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// A value that reading would change (surrounding blanks, or quotes it would
// take off) is stored inside one more pair of quotes.
std::string Encode(std::string_view value) {
    const bool needsQuotes =
        !value.empty() &&
        (IsBlank(value.front()) || IsBlank(value.back()) ||
         (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back()));
    if (!needsQuotes) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

bool HasOuterBlank(std::string_view text) {
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

}  // namespace

ProfileText::ProfileText(std::string bytes) : bytes_(std::move(bytes)) {
    Index();
}

std::size_t ProfileText::FirstLine() const {
    return std::string_view(bytes_).starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
}

ProfileText::Parsed ProfileText::ParseLine(std::size_t pos) const {
    const std::string_view all = bytes_;
    const auto skipBlanks = [&](std::size_t from, std::size_t to) {
        while (from < to && IsBlank(all[from])) ++from;
        return from;
    };
    const auto dropBlanks = [&](std::size_t from, std::size_t to) {
        while (to > from && IsBlank(all[to - 1])) --to;
        return to;
    };

    Parsed parsed;
    const std::size_t newline = all.find('\n', pos);
    parsed.ended = newline != all.npos;
    parsed.next = parsed.ended ? newline + 1 : all.size();
    std::size_t end = parsed.ended ? newline : all.size();
    if (end > pos && all[end - 1] == '\r') --end;
    const std::size_t begin = parsed.begin = skipBlanks(pos, end);
    const std::string_view line = all.substr(begin, end - begin);

    if (line.empty() || line.front() == ';') {
        parsed.kind = Line::Kind::Ignored;
    } else if (line.front() == '[') {
        const std::size_t close = line.find(']');
        parsed.kind = close != line.npos ? Line::Kind::Header : Line::Kind::Unclosed;
        if (close != line.npos) {
            parsed.nameBegin = skipBlanks(begin + 1, begin + close);
            parsed.nameEnd = dropBlanks(parsed.nameBegin, begin + close);
        }
    } else if (const std::size_t equals = line.find('='); equals == line.npos) {
        parsed.kind = Line::Kind::Stray;
    } else {
        parsed.nameBegin = begin;
        parsed.nameEnd = dropBlanks(begin, begin + equals);
        parsed.kind = parsed.nameEnd > begin ? Line::Kind::Entry : Line::Kind::Nameless;
        Key& key = parsed.key;
        key.equalsAt = begin + equals;
        key.rawBegin = skipBlanks(key.equalsAt + 1, end);
        key.rawEnd = dropBlanks(key.rawBegin, end);
        key.valueBegin = key.rawBegin;
        key.valueEnd = key.rawEnd;
        if (key.rawEnd - key.rawBegin >= 2 && IsQuote(all[key.rawBegin]) &&
            all[key.rawBegin] == all[key.rawEnd - 1]) {
            ++key.valueBegin;
            --key.valueEnd;
        }
    }
    return parsed;
}

void ProfileText::Index() {
    sections_.clear();
    const std::string_view all = bytes_;
    Section* current = nullptr;
    for (std::size_t pos = FirstLine(); pos < all.size();) {
        const Parsed line = ParseLine(pos);
        const std::string_view name = all.substr(line.nameBegin, line.nameEnd - line.nameBegin);
        if (line.kind == Line::Kind::Header || line.kind == Line::Kind::Unclosed) {
            current = nullptr;
            if (line.kind == Line::Kind::Header) {
                auto [it, added] = sections_.try_emplace(Lower(name));
                if (added) {
                    it->second.headerAt = line.begin;
                    it->second.insertAt = line.next;
                    it->second.insertAtUnendedLine = !line.ended;
                    current = &it->second;
                }
            }
        } else if (line.kind == Line::Kind::Entry && current) {
            current->keys.try_emplace(Lower(name), line.key);
            current->insertAt = line.next;
            current->insertAtUnendedLine = !line.ended;
        }
        pos = line.next;
    }
}

std::vector<ProfileText::Line> ProfileText::Lines() const {
    const std::string_view all = bytes_;
    std::vector<Line> lines;
    const Section* block = nullptr;  // the section of the block when it is read
    std::size_t blockLine = 0;
    for (std::size_t pos = FirstLine(); pos < all.size();) {
        const Parsed parsed = ParseLine(pos);
        Line line;
        line.Type = parsed.kind;
        line.Number = lines.size() + 1;
        line.Name = all.substr(parsed.nameBegin, parsed.nameEnd - parsed.nameBegin);
        if (parsed.kind == Line::Kind::Header) {
            const auto found = sections_.find(Lower(line.Name));
            line.Read = found != sections_.end() && found->second.headerAt == parsed.begin;
            block = line.Read ? &found->second : nullptr;
            blockLine = line.Number;
        } else if (parsed.kind == Line::Kind::Unclosed) {
            block = nullptr;
            blockLine = 0;
        } else if (parsed.kind == Line::Kind::Entry) {
            const Key& key = parsed.key;
            line.Value = all.substr(key.valueBegin, key.valueEnd - key.valueBegin);
            line.RawValue = all.substr(key.rawBegin, key.rawEnd - key.rawBegin);
            if (block) {
                const auto found = block->keys.find(Lower(line.Name));
                line.Read = found != block->keys.end() && found->second.equalsAt == key.equalsAt;
            }
        }
        line.Block = blockLine;
        lines.push_back(line);
        pos = parsed.next;
    }
    return lines;
}

const ProfileText::Key* ProfileText::FindKey(std::string_view section, std::string_view key) const {
    const auto found = sections_.find(Lower(section));
    if (found == sections_.end()) return nullptr;
    const auto keyFound = found->second.keys.find(Lower(key));
    return keyFound == found->second.keys.end() ? nullptr : &keyFound->second;
}

bool ProfileText::HasSection(std::string_view section) const {
    return sections_.contains(Lower(section));
}

std::optional<std::string> ProfileText::Read(std::string_view section, std::string_view key) const {
    const Key* found = FindKey(section, key);
    if (!found) return std::nullopt;
    const std::size_t length = std::min(found->valueEnd - found->valueBegin, MaxValueLength);
    return bytes_.substr(found->valueBegin, length);
}

bool ProfileText::CanStore(std::string_view section, std::string_view key, std::string_view value) {
    const bool sectionOk = !section.empty() && !HasLineBreak(section) && !HasOuterBlank(section) &&
                           section.find(']') == section.npos;
    const bool keyOk = !key.empty() && !HasLineBreak(key) && !HasOuterBlank(key) &&
                       key.find('=') == key.npos && key.front() != ';' && key.front() != '[';
    const bool valueOk = !HasLineBreak(value) && value.size() <= MaxValueLength;
    return sectionOk && keyOk && valueOk;
}

std::string_view ProfileText::LineEnd() const {
    const std::size_t newline = bytes_.find('\n');
    if (newline != bytes_.npos && (newline == 0 || bytes_[newline - 1] != '\r')) return "\n";
    return "\r\n";
}

bool ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view eol = LineEnd();
    // A last line without its line end gets one before anything follows it; a
    // lone CR there only lacks its LF.
    const auto endLastLine = [&](std::size_t at) -> std::string_view {
        if (at == 0 || bytes_[at - 1] == '\n') return "";
        return bytes_[at - 1] == '\r' ? "\n" : eol;
    };
    const std::string line = std::string(key) + "=" + Encode(value);

    if (const Key* found = FindKey(section, key)) {
        if (std::string_view(bytes_).substr(found->valueBegin,
                                            found->valueEnd - found->valueBegin) == value) {
            return false;
        }
        bytes_.replace(found->rawBegin, found->rawEnd - found->rawBegin, Encode(value));
    } else if (const auto sectionFound = sections_.find(Lower(section));
               sectionFound != sections_.end()) {
        const Section& target = sectionFound->second;
        if (target.insertAtUnendedLine) {
            bytes_.insert(target.insertAt, std::string(endLastLine(target.insertAt)) + line);
        } else {
            bytes_.insert(target.insertAt, line + std::string(eol));
        }
    } else {
        std::string block;
        const bool onlyMark = bytes_ == ByteOrderMark;
        if (!bytes_.empty() && !onlyMark) {
            block += endLastLine(bytes_.size());
            block += eol;  // a blank line before the new section
        }
        block += "[" + std::string(section) + "]" + std::string(eol) + line + std::string(eol);
        bytes_ += block;
    }
    Index();
    return true;
}
