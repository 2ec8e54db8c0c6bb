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

private:
    struct Key {
        std::size_t equalsAt;    // offset of the '='
        std::size_t valueBegin;  // the value as read, before the cut
        std::size_t valueEnd;
        std::size_t rawBegin;  // the value with its quotes, without surrounding blanks
        std::size_t rawEnd;
    };
    struct Section {
        // Where a new key goes: after the last key line, or after the header.
        std::size_t insertAt;
        bool insertAtUnendedLine;                   // that line is the last one and has no line end
        std::unordered_map<std::string, Key> keys;  // by lower-case name
    };

    void Index();
    const Key* FindKey(std::string_view section, std::string_view key) const;
    std::string_view LineEnd() const;

    std::string bytes_;
    std::unordered_map<std::string, Section> sections_;  // by lower-case name
};
