#pragma once
// The bytes of a private-profile (INI) file and an index of its sections and
// keys, built once. Editing a key splices its line and leaves every other byte
// of the text as it was.
//
// Reading rules: section and key names match without regard to ASCII letter
// case; blanks (space, tab) around names and values are dropped, then one
// matching pair of quotes ("..." or '...') around a value; lines starting with
// ';' are comments; LF and CRLF line ends are both read; a UTF-8 byte-order
// mark at the start is skipped. Only the first block of a section counts, and
// in it only the first line of a key: later duplicates are ignored, for
// reading and for writing. Lines before any section, lines without '=' and the
// lines under a header that lacks its ']' belong to no section.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ProfileText {
public:
    // Values longer than this are cut when read.
    static constexpr std::size_t MaxValueLength = 2047;

    ProfileText() = default;
    explicit ProfileText(std::string bytes);

    const std::string& Bytes() const { return bytes_; }

    bool HasSection(std::string_view section) const;
    // The value of key in section, cut at MaxValueLength; nothing when the key
    // is absent (a present empty value is the empty text).
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

    // Whether Set can store these so that Read gives value back: names without
    // line breaks, surrounding blanks or the characters that end them, and a
    // value without line breaks.
    static bool CanStore(std::string_view section, std::string_view key, std::string_view value);

    // Makes key of section read as value: rewrites the value of the key's line,
    // or adds the key at the end of its section, or the section at the end of
    // the text, with the text's own line ends. Returns whether the bytes
    // changed: a key that already reads as value is left alone. Needs CanStore.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // One line as reading takes it, for tools that point the file's writer at
    // a line. Its views point into Bytes() and last until the next Set.
    struct Line {
        enum class Kind : std::uint8_t {
            Ignored,   // empty, blanks only, or a comment
            Header,    // "[name]", anything after the "]" ignored
            Unclosed,  // "[" without "]": it and the lines below it belong to no section
            Entry,     // "key=value"
            Nameless,  // "=value": no key before the "="
            Stray,     // no "=" at all
        };
        Kind Type = Kind::Ignored;
        std::size_t Number = 0;  // from 1
        // The header line of the block this line is in, the line itself for a
        // header; 0 above every header and under an unclosed one.
        std::size_t Block = 0;
        std::string_view Name;      // header: the section; entry: the key; blanks dropped
        std::string_view Value;     // entry: as read, quotes off, before the cut
        std::string_view RawValue;  // entry: with its quotes, without surrounding blanks
        // Whether reading uses the line: for a header, the first block of its
        // section; for an entry, the line Read finds for its key.
        bool Read = false;
    };
    // Every line of the text, in order.
    std::vector<Line> Lines() const;

private:
    struct Key {
        std::size_t equalsAt;    // offset of the '='
        std::size_t valueBegin;  // the value as read, before the cut
        std::size_t valueEnd;
        std::size_t rawBegin;  // the value with its quotes, without surrounding blanks
        std::size_t rawEnd;
    };
    struct Section {
        std::size_t headerAt;  // offset of the header line of the first block
        // Where a new key goes: after the last key line, or after the header.
        std::size_t insertAt;
        bool insertAtUnendedLine;                   // that line is the last one and has no line end
        std::unordered_map<std::string, Key> keys;  // by lower-case name
    };

    // One line from offset pos, as the reading rules split and classify it.
    struct Parsed {
        Line::Kind kind = Line::Kind::Ignored;
        std::size_t begin = 0;  // first byte that is not a blank
        std::size_t next = 0;   // where the next line starts
        bool ended = false;     // the line has a line end
        std::size_t nameBegin = 0, nameEnd = 0;
        Key key{};
    };
    Parsed ParseLine(std::size_t pos) const;
    std::size_t FirstLine() const;

    void Index();
    const Key* FindKey(std::string_view section, std::string_view key) const;
    std::string_view LineEnd() const;

    std::string bytes_;
    std::unordered_map<std::string, Section> sections_;  // by lower-case name
};
