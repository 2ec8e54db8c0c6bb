#include "database/DefinitionCheck.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "database/DefinitionDatabase.h"
#include "database/ProfileValues.h"
#include "database/ValueText.h"
#include "formula/ErrorInWords.h"
#include "formula/FormulaReview.h"

namespace {

using Kind = ProfileText::Line::Kind;
using Severity = DefinitionFinding::Severity;

// Definitions 0-15 fill the slots of set 1, 16-31 those of set 2.
constexpr std::size_t SlotsPerSet = 16;
constexpr std::size_t SetCount = 2;
// The value text of more decimals than this is whatever the formatter makes of it.
constexpr int MostDigits = 18;
constexpr std::size_t FormulaLength = calc::MaxExpression;

// The keys each kind of section has, as the loader reads them.
constexpr std::array<std::string_view, 1> ConfigurationKeys{"Language"};
constexpr std::array<std::string_view, 13> ParameterKeys{
    "CodeEn", "NameRu",  "NameEn", "UnitRu", "UnitEn", "Address", "Length",
    "Signed", "Formula", "Digits", "Min",    "Max",    "Color"};
constexpr std::array<std::string_view, 6> ErrorKeys{"Bit",    "Code",     "NameRu",
                                                    "NameEn", "ReasonRu", "ReasonEn"};

enum class SectionKind { None, Configuration, Parameter, Error };

char LowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = LowerChar(c);
    return lower;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerChar(x) == LowerChar(y);
           });
}

// Bare hexadecimal digits, read as the file's integers read them after "$".
std::optional<unsigned> HexValue(std::string_view digits) {
    const auto value = ParseInteger("$" + std::string(digits));
    if (!value || *value < 0) return std::nullopt;
    return static_cast<unsigned>(*value);
}

// Which section of the loader a name is, matched as reading matches names.
std::pair<SectionKind, std::size_t> ClassifySection(std::string_view name) {
    if (EqualsIgnoringCase(name, "Configuration")) return {SectionKind::Configuration, 0};
    const auto value = name.size() == 4 ? HexValue(name) : std::nullopt;
    if (value && *value < DefinitionDatabase::DefinitionCount)
        return {SectionKind::Parameter, *value};
    if (value && *value >= 0x100 && *value < 0x100 + DefinitionDatabase::DefinitionCount) {
        return {SectionKind::Error, *value - 0x100};
    }
    return {SectionKind::None, 0};
}

// A misspelling is at most this many edits away from what was meant.
constexpr std::size_t MaxEdits = 2;

// Edits (insert, delete, change, swap of neighbours) that turn a into b,
// without regard to letter case; any distance above MaxEdits counts as
// MaxEdits + 1, so a long name costs no more than a short one.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    if (a.size() > b.size() + MaxEdits || b.size() > a.size() + MaxEdits) return MaxEdits + 1;
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = LowerChar(a[i - 1]) == LowerChar(b[j - 1]);
            d[i][j] =
                std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && LowerChar(a[i - 1]) == LowerChar(b[j - 2]) &&
                LowerChar(a[i - 2]) == LowerChar(b[j - 1])) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return std::min(d[a.size()][b.size()], MaxEdits + 1);
}

// The known name a misspelt one most likely meant: MaxEdits away at most, one
// edit for short names, where two would reach almost any other.
template <std::size_t N>
std::optional<std::string_view> Nearest(std::string_view name,
                                        const std::array<std::string_view, N>& known) {
    std::optional<std::string_view> best;
    std::size_t bestDistance = MaxEdits + 1;
    for (std::string_view candidate : known) {
        const std::size_t limit = candidate.size() >= 5 ? MaxEdits : 1;
        const std::size_t distance = EditDistance(name, candidate);
        if (distance <= limit && distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

// The loader's name of a section written another way: a number that is not
// four hexadecimal digits, or a misspelt "Configuration". Only names with a
// digit count as numbers, so that words made of the letters A-F stay words.
std::optional<std::string> MeantSection(std::string_view name, std::string& why) {
    std::string_view digits = name;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
    } else if (digits.starts_with("$")) {
        digits.remove_prefix(1);
    }
    const bool hasDigit = name.find_first_of("0123456789") != name.npos;
    if (const auto value = HexValue(digits); value && hasDigit) {
        const bool parameter = *value < DefinitionDatabase::DefinitionCount;
        const bool error = *value >= 0x100 && *value < 0x100 + DefinitionDatabase::DefinitionCount;
        if (parameter || error) {
            return parameter ? DefinitionDatabase::ParameterSection(*value)
                             : DefinitionDatabase::ErrorSection(*value - 0x100);
        }
        why = "parameter sections are 0000 to 007F, error sections 0100 to 017F";
        return std::nullopt;
    }
    if (EditDistance(name, "Configuration") <= MaxEdits) return "Configuration";
    return std::nullopt;
}

// Cyrillic written in UTF-8: every byte above 0x7F belongs to a well-formed
// UTF-8 sequence, and one of them is a letter of the 0xD0/0xD1 rows. Text in
// cp1251 hardly ever is, since its letters would each need a follower from
// 0x80-0xBF, which are punctuation there.
bool LooksLikeUtf8(std::string_view value) {
    bool cyrillic = false;
    for (std::size_t i = 0; i < value.size();) {
        const auto lead = static_cast<unsigned char>(value[i]);
        std::size_t followers = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            followers = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            followers = 2;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            followers = 3;
        } else {
            return false;
        }
        if (i + followers >= value.size()) return false;
        for (std::size_t k = 1; k <= followers; ++k) {
            if ((static_cast<unsigned char>(value[i + k]) & 0xC0) != 0x80) return false;
        }
        if (lead == 0xD0 || lead == 0xD1) cyrillic = true;
        i += followers + 1;
    }
    return cyrillic;
}

// A text of the file inside a message, cut short when long.
std::string Shown(std::string_view text, const char* open, const char* close) {
    constexpr std::size_t Longest = 60;
    if (text.size() <= Longest) return open + std::string(text) + close;
    return open + std::string(text.substr(0, Longest)) + "..." + close;
}

std::string Quoted(std::string_view text) {
    return Shown(text, "'", "'");
}

std::string Bracketed(std::string_view section) {
    return Shown(section, "[", "]");
}

std::string CharacterName(char c) {
    if (c == '\t') return "a tab";
    if (c == '\0') return "a zero byte";
    return "'" + std::string(1, c) + "'";
}

class Checker {
public:
    explicit Checker(const ProfileText& text) : text_(text), lines_(text.Lines()) {}

    std::vector<DefinitionFinding> Run() {
        CheckLineEnds();
        CheckLines();
        ReportUtf8();
        CheckSomethingDefined();
        for (std::size_t i = 0; i < DefinitionDatabase::DefinitionCount; ++i) CheckParameter(i);
        for (std::size_t n = 0; n < DefinitionDatabase::DefinitionCount; ++n) CheckError(n);
        CheckLanguage();
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const auto& a, const auto& b) { return a.Line < b.Line; });
        return std::move(findings_);
    }

private:
    void Report(std::size_t line, Severity level, std::string message) {
        findings_.push_back({line, level, std::move(message)});
    }

    // The line of the header of a section as the loader finds it; 0 for none.
    std::size_t HeaderLine(const std::string& section) const {
        const auto found = headers_.find(Lower(section));
        return found == headers_.end() ? 0 : found->second;
    }
    // The line the loader reads key from, or the section's header without one.
    std::size_t KeyLine(const std::string& section, std::string_view key) const {
        const std::size_t header = HeaderLine(section);
        const auto found = keys_.find({header, Lower(key)});
        return found == keys_.end() ? header : found->second;
    }

    void CheckLines() {
        // Where the loader reads each section and key from, for the checks of
        // values and for pointing at the first of two.
        for (const auto& line : lines_) {
            if (line.Type == Kind::Header && line.Read)
                headers_.emplace(Lower(line.Name), line.Number);
            if (line.Type == Kind::Entry && line.Read)
                keys_.emplace(std::pair{line.Block, Lower(line.Name)}, line.Number);
        }
        // Lines of the loader's sections, in the block it reads, and lines
        // above every header are watched; other sections are not the
        // loader's business.
        bool aboveEveryHeader = true;
        const ProfileText::Line* header = nullptr;
        SectionKind kind = SectionKind::None;
        for (const auto& line : lines_) {
            if (line.Type == Kind::Header || line.Type == Kind::Unclosed) {
                aboveEveryHeader = false;
                header = line.Type == Kind::Header && line.Read ? &line : nullptr;
                kind = header ? ClassifySection(line.Name).first : SectionKind::None;
            }
            const bool watched = aboveEveryHeader || kind != SectionKind::None;
            switch (line.Type) {
                case Kind::Ignored:
                    break;
                case Kind::Unclosed:
                    Report(line.Number, Severity::Error,
                           "section header has no ']': the lines below it up to the next header "
                           "are not read");
                    break;
                case Kind::Header:
                    CheckHeader(line);
                    break;
                case Kind::Stray:
                    if (watched) {
                        Report(line.Number, Severity::Error,
                               "line has no '=' and is not read (a comment starts with ';')");
                    }
                    break;
                case Kind::Nameless:
                    if (watched) {
                        Report(line.Number, Severity::Error, "no key name before '=': not read");
                    }
                    break;
                case Kind::Entry:
                    if (aboveEveryHeader) {
                        Report(line.Number, Severity::Error,
                               "key " + Quoted(line.Name) +
                                   " is above every section header and is not read");
                    } else if (watched) {
                        CheckEntry(line, *header, kind);
                    }
                    break;
            }
        }
    }

    // A CR of its own ends no line for the loader, which ends lines at LF
    // only: a file saved with CR line ends reads as one line, and nothing in
    // it is read. A CR at the very end of the file is dropped with the line end.
    void CheckLineEnds() {
        const std::string& bytes = text_.Bytes();
        std::size_t line = 1;
        std::size_t reported = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') ++line;
            const bool alone = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] != '\n';
            if (!alone || reported == line) continue;
            reported = line;
            Report(line, Severity::Error,
                   "a CR without an LF after it: lines end at LF only, so what follows the CR "
                   "is read as part of this line (save the file with Windows or Unix line ends)");
        }
    }

    // A file without a parameter leaves every value a raw word without a name.
    void CheckSomethingDefined() {
        if (DefinesAParameter(text_)) return;
        Report(1, Severity::Warning,
               std::string("the file defines no parameter (no section [0000] to [007F]") +
                   (HoldsOnlyTheLanguage(text_)
                        ? "; it holds only the language, as the window writes it on closing "
                          "when it started without database.ini"
                        : "") +
                   "): no parameter has a name, and every value is the raw word");
    }

    void CheckHeader(const ProfileText::Line& line) {
        const std::string name = Bracketed(line.Name);
        if (ClassifySection(line.Name).first != SectionKind::None) {
            if (!line.Read) {
                Report(line.Number, Severity::Error,
                       "section " + name + " appears again (first at line " +
                           std::to_string(HeaderLine(std::string(line.Name))) +
                           "): only its first block is read");
            }
            return;
        }
        std::string why;
        if (const auto meant = MeantSection(line.Name, why)) {
            Report(line.Number, Severity::Error,
                   "section " + name + " is not read: did you mean [" + *meant + "]?");
        } else if (!why.empty()) {
            Report(line.Number, Severity::Error, "section " + name + " is not read: " + why);
        }
    }

    void CheckEntry(const ProfileText::Line& line, const ProfileText::Line& header,
                    SectionKind kind) {
        if (!line.Read) {
            Report(line.Number, Severity::Error,
                   "key " + Quoted(line.Name) + " appears again in " + Bracketed(header.Name) +
                       " (first at line " +
                       std::to_string(keys_.at({header.Number, Lower(line.Name)})) +
                       "): only the first is read");
            return;
        }
        const auto unknown = [&](const auto& known) {
            for (std::string_view key : known)
                if (EqualsIgnoringCase(key, line.Name)) return;
            const auto meant = Nearest(line.Name, known);
            Report(line.Number, Severity::Warning,
                   "unknown key " + Quoted(line.Name) + " is not read" +
                       (meant ? ": did you mean '" + std::string(*meant) + "'?" : ""));
        };
        if (kind == SectionKind::Configuration) unknown(ConfigurationKeys);
        if (kind == SectionKind::Parameter) unknown(ParameterKeys);
        if (kind == SectionKind::Error) unknown(ErrorKeys);
        // One pair of quotes comes off, even when the value was two quoted
        // pieces: "a" and "b" reads as a" and "b.
        if (line.RawValue.size() > line.Value.size() &&
            line.Value.find(line.RawValue.front()) != line.Value.npos) {
            Report(line.Number, Severity::Warning,
                   "only the outer quotes come off: the value reads as " + Quoted(line.Value));
        }
        if (LooksLikeUtf8(line.Value)) utf8Lines_.push_back(line.Number);
    }

    // One value in UTF-8 was pasted in; many mean the file was saved so.
    void ReportUtf8() {
        if (utf8Lines_.size() == 1) {
            Report(utf8Lines_.front(), Severity::Warning,
                   "value looks like UTF-8: the file is read as cp1251, so its letters come out "
                   "wrong");
        } else if (utf8Lines_.size() > 1) {
            Report(utf8Lines_.front(), Severity::Warning,
                   std::to_string(utf8Lines_.size()) +
                       " values look like UTF-8, this one first: the file seems saved as UTF-8, "
                       "but it is read as cp1251, so their letters come out wrong (save it as "
                       "Windows-1251)");
        }
    }

    // A number the loader cannot read falls back to its default without a word.
    void CheckNumber(const std::string& section, std::string_view key, bool decimal,
                     std::string_view defaultValue) {
        const auto value = text_.Read(section, key);
        if (!value || value->empty()) return;
        const bool number =
            decimal ? ParseDecimal(*value).has_value() : ParseInteger(*value).has_value();
        if (!number) {
            Report(KeyLine(section, key), Severity::Warning,
                   std::string(key) + " " + Quoted(*value) +
                       " is not a number: " + std::string(defaultValue) + " is used");
        }
    }

    void CheckParameter(std::size_t index) {
        const std::string section = DefinitionDatabase::ParameterSection(index);
        if (!HeaderLine(section)) return;
        ParameterDef def;
        bool addressRead = true;
        try {
            DefinitionDatabase::ReadParameter(text_, section, def);
        } catch (const ConversionError& error) {
            addressRead = false;
            Report(KeyLine(section, "Address"), Severity::Error,
                   "Address " + Quoted(text_.Read(section, "Address").value_or("")) + " of [" +
                       section + "] cannot be converted: the program stops at start-up with " +
                       Shown(error.what(), "\"", "\""));
            // The other keys, read as if the address were fine.
            ProfileText readable = text_;
            readable.Set(section, "Address", "0");
            DefinitionDatabase::ReadParameter(readable, section, def);
        }
        CheckNumber(section, "Length", false, "2");
        CheckNumber(section, "Signed", false, "0");
        CheckNumber(section, "Digits", false, "0");
        CheckNumber(section, "Color", false, "0xFFFF");
        CheckNumber(section, "Min", true, "0");
        CheckNumber(section, "Max", true, "0");
        if (def.Min > def.Max) {
            Report(KeyLine(section, "Min"), Severity::Warning,
                   "Min " + NumberText(def.Min) + " is above Max " + NumberText(def.Max) +
                       ": the range plays no part (no value is marked as outside it, and the "
                       "trend scales itself)");
        }
        CheckFormula(section, def);
        if (def.Digits > MostDigits) {
            Report(KeyLine(section, "Digits"), Severity::Warning,
                   "Digits " + Quoted(text_.Read(section, "Digits").value_or("")) + " gives " +
                       std::to_string(def.Digits) + " decimals, more than " +
                       std::to_string(MostDigits) + ": the value text is undefined");
        }
        if (addressRead && static_cast<std::uint32_t>(def.Address) > 0xFFFF) {
            Report(KeyLine(section, "Address"), Severity::Warning,
                   "Address " + Quoted(text_.Read(section, "Address").value_or("")) + " of [" +
                       section + "] is above FFFF: only its low 16 bits, " +
                       DefinitionDatabase::ParameterSection(SentAddress(def)) + ", are sent");
        }
        if (index >= SetCount * SlotsPerSet) return;
        CheckSlot(index, section, def, addressRead);
    }

    // What the selection request carries of an address.
    static std::uint16_t SentAddress(const ParameterDef& def) {
        return static_cast<std::uint16_t>(static_cast<std::uint32_t>(def.Address) & 0xFFFF);
    }

    void CheckFormula(const std::string& section, const ParameterDef& def) {
        const std::size_t line = KeyLine(section, "Formula");
        const std::string_view formula = def.Formula;
        const FormulaReview review = ReviewFormula(formula, def.Signed);
        if (review.TooLong) {
            Report(line, Severity::Warning,
                   "formula is " + std::to_string(formula.size()) +
                       " characters long: only its first " + std::to_string(FormulaLength) +
                       " are used");
        }
        if (review.AlwaysFails) {
            Report(line, Severity::Warning,
                   "formula " + Quoted(formula) + " fails for every raw value (" +
                       ErrorInWords(*review.AlwaysFails) + "): the value always shows as 0");
        } else if (review.StopsAt) {
            Report(line, Severity::Warning,
                   "formula reading stops at " + CharacterName(formula[*review.StopsAt]) +
                       " (character " + std::to_string(*review.StopsAt + 1) + "): only " +
                       Quoted(formula.substr(0, *review.StopsAt)) + " is used");
        } else if (review.Constant) {
            Report(line, Severity::Warning,
                   "formula " + Quoted(formula) + " gives " + NumberText(*review.Constant) +
                       " whatever the raw value: X is not read as meant (a statement ends "
                       "early, as after '2X', 'X X', 'X)' or 'X*')");
        }
    }

    void CheckSlot(std::size_t index, const std::string& section, const ParameterDef& def,
                   bool addressRead) {
        const std::size_t set = index / SlotsPerSet + 1;
        if (def.NameRu.empty() || def.NameEn.empty()) {
            const char* which = def.NameRu.empty() && def.NameEn.empty()
                                    ? "neither a Russian nor an English name"
                                : def.NameRu.empty() ? "no Russian name"
                                                     : "no English name";
            Report(KeyLine(section, def.NameRu.empty() ? "NameRu" : "NameEn"), Severity::Warning,
                   "parameter [" + section + "] of set " + std::to_string(set) + " has " + which);
        }
        if (!addressRead) return;
        const auto [first, added] = slotAddresses_.try_emplace({set, SentAddress(def)}, section,
                                                               KeyLine(section, "Address"));
        if (!added) {
            Report(KeyLine(section, "Address"), Severity::Warning,
                   "[" + section + "] has the same address as [" + first->second.first +
                       "] (line " + std::to_string(first->second.second) + "): both slots of set " +
                       std::to_string(set) + " show one value");
        }
    }

    void CheckError(std::size_t index) {
        const std::string section = DefinitionDatabase::ErrorSection(index);
        if (!HeaderLine(section)) return;
        ErrorDef def;
        DefinitionDatabase::ReadError(text_, section, def);
        CheckNumber(section, "Bit", false, "0");
        if (def.Code.empty()) return;
        const auto [first, added] =
            errorCodes_.try_emplace(def.Code, section, KeyLine(section, "Code"));
        if (!added) {
            Report(KeyLine(section, "Code"), Severity::Warning,
                   "error code " + Quoted(def.Code) + " of [" + section + "] is also that of [" +
                       first->second.first + "] (line " + std::to_string(first->second.second) +
                       ")");
        }
    }

    void CheckLanguage() {
        const auto language = text_.Read("Configuration", "Language");
        if (!language) return;
        const std::string lower = Lower(*language);
        if (lower == "ru" || lower == "en") return;
        Report(KeyLine("Configuration", "Language"), Severity::Warning,
               "Language " + Quoted(*language) + " is neither RU nor EN: it selects English");
    }

    const ProfileText& text_;
    const std::vector<ProfileText::Line> lines_;
    std::map<std::string, std::size_t> headers_;  // lower-case section: header line
    std::map<std::pair<std::size_t, std::string>, std::size_t> keys_;  // header, lower-case key
    std::map<std::pair<std::size_t, std::int32_t>, std::pair<std::string, std::size_t>>
        slotAddresses_;  // set and address: first section and its line
    std::map<std::string, std::pair<std::string, std::size_t>> errorCodes_;
    std::vector<std::size_t> utf8Lines_;  // lines whose value looks like UTF-8
    std::vector<DefinitionFinding> findings_;
};

}  // namespace

std::vector<DefinitionFinding> CheckDefinitions(const ProfileText& text) {
    return Checker(text).Run();
}

bool DefinesAParameter(const ProfileText& text) {
    for (std::size_t i = 0; i < DefinitionDatabase::DefinitionCount; ++i)
        if (text.HasSection(DefinitionDatabase::ParameterSection(i))) return true;
    return false;
}

bool HoldsOnlyTheLanguage(const ProfileText& text) {
    bool language = false;
    bool inConfiguration = false;
    for (const ProfileText::Line& line : text.Lines()) {
        switch (line.Type) {
            case Kind::Ignored:
                break;
            case Kind::Header:
                inConfiguration = EqualsIgnoringCase(line.Name, "Configuration");
                if (!inConfiguration) return false;
                break;
            case Kind::Entry:
                if (!inConfiguration || !EqualsIgnoringCase(line.Name, "Language")) return false;
                language = true;
                break;
            case Kind::Unclosed:
            case Kind::Nameless:
            case Kind::Stray:
                return false;
        }
    }
    return language;
}
