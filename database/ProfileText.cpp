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

void ProfileText::Index() {
    sections_.clear();
    const std::string_view all = bytes_;
    const auto skipBlanks = [&](std::size_t from, std::size_t to) {
        while (from < to && IsBlank(all[from])) ++from;
        return from;
    };
    const auto dropBlanks = [&](std::size_t from, std::size_t to) {
        while (to > from && IsBlank(all[to - 1])) --to;
        return to;
    };

    Section* current = nullptr;
    std::size_t pos = all.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
    while (pos < all.size()) {
        const std::size_t newline = all.find('\n', pos);
        const bool ended = newline != all.npos;
        const std::size_t next = ended ? newline + 1 : all.size();
        std::size_t end = ended ? newline : all.size();
        if (end > pos && all[end - 1] == '\r') --end;
        const std::size_t begin = skipBlanks(pos, end);
        const std::string_view line = all.substr(begin, end - begin);

        if (line.empty() || line.front() == ';') {
            // blank line or comment
        } else if (line.front() == '[') {
            current = nullptr;
            const std::size_t close = line.find(']');
            if (close != line.npos) {
                const std::size_t nameBegin = skipBlanks(begin + 1, begin + close);
                const std::size_t nameEnd = dropBlanks(nameBegin, begin + close);
                auto [it, added] =
                    sections_.try_emplace(Lower(all.substr(nameBegin, nameEnd - nameBegin)));
                if (added) {
                    it->second.insertAt = next;
                    it->second.insertAtUnendedLine = !ended;
                    current = &it->second;
                }
            }
        } else if (const std::size_t equals = line.find('='); current && equals != line.npos) {
            const std::size_t keyEnd = dropBlanks(begin, begin + equals);
            if (keyEnd > begin) {
                Key key;
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
                current->keys.try_emplace(Lower(all.substr(begin, keyEnd - begin)), key);
                current->insertAt = next;
                current->insertAtUnendedLine = !ended;
            }
        }
        pos = next;
    }
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
