#pragma once
// The window's own texts in Russian (row 0) and English (row 1), indexed by the
// session's LanguageIndex: action and page captions, list column headers and
// the labels of the ECU information page. Texts of parameters and errors come
// from database.ini instead. All texts here are UTF-8.

#include <array>
#include <cstddef>
#include <string>

namespace Lang {

constexpr std::size_t EntryCount = 256;
constexpr std::size_t LanguageCount = 2;  // 0 Russian, 1 English

// The filled entries; the rest up to 255 stay empty. 0 to 24 are the window's
// since its first version; 25 to 31 are those of its log and trend, 32 on those
// of the report of an ECU, then those of the log viewer.
enum Entry : std::size_t {
    StartAction = 0,  // caption of ADiag while polling is off
    StopAction,       // caption of ADiag while polling is on
    ResetErrorsAction,
    FirstSetPage,
    SecondSetPage,
    ErrorsPage,
    EcuInfoPage,
    CodeColumn,
    NameColumn,
    ValueColumn,
    UnitColumn,
    ProgramVersionLabel,
    ApplicationIdLabel,
    ManufacturerCodeLabel,
    ProductionDateLabel,
    LastProgrammingDateLabel,
    UserLabel,
    SerialNumberLabel,
    WholeWorkingTimeLabel,
    NearIdleTimeLabel,
    HighSpeedSmallLoadTimeLabel,
    PartialLoadTimeLabel,
    MaximumLoadTimeLabel,
    RackZeroPositionLabel,
    VinLabel,
    TrendTitle,   // the trend window's title
    TrendRows,    // the caption of its list of the page's rows
    TrendMinute,  // the plot's period: the last minute
    TrendFiveMinutes,
    LogTip,  // what status panel 2 says of its mark while the page is logged
    // The start of the messages of a log that failed: the path and the
    // reason follow.
    LogNotStarted,
    LogStopped,
    // The report: its title, the lines of who made it, when and where, and
    // its sections.
    ReportTitle,
    ReportTool,
    ReportTime,
    ReportPort,
    ReportIdentification,
    ReportCounters,  // the heading of the hour counters and the rack zero position
    ReportErrors,
    ReportErrorCount,  // before the number of stored errors
    ReportNoErrors,
    ReportNumberColumn,  // the error's number, its bit in the ECU's error memory
    ReportValues,        // the heading of the live values; the set's number follows
    ReportRangeColumn,
    ReportOutOfRange,  // beside a value outside its range
    // What stands in the place of what the ECU did not give.
    ReportUnanswered,
    ReportNotSent,
    ReportNotForThisVersion,
    ReportNotSelected,
    ReportSelectionRefused,  // the slot's number and code follow
    // The line under the title: all answered, or which parts are missing
    // (the sections' headings follow).
    ReportComplete,
    ReportIncomplete,
    // F9 in the window: the report written (its path follows), or not (the
    // path and the reason follow).
    ReportWritten,
    ReportNotWritten,
    // The trend window's log viewer: its buttons, the file dialog's filter,
    // its title, the legend's words, and its messages (the path follows
    // each; a line's number and start follow one that is no log).
    LogOpenButton,
    LogBackButton,
    LogFileFilter,
    LogViewerTitle,
    LogMinimum,
    LogMaximum,
    LogNotOpened,
    LogNotALog,
    LogLineWord,
    LogEmptyFile,
    LogNoTimeHeader,
    LogTooManyRows,
    LogRowsSkipped,
    FilledEntries
};

using Table = std::array<std::array<std::string, EntryCount>, LanguageCount>;

// Caption of the language button: the name of the other language.
const char* LanguageButtonText(int languageIndex);

// Texts that do not follow the language switch. The first letter of
// "Сonnecting" is the Cyrillic capital Es, as the ECU tools of this line
// have always shown it.
inline constexpr const char* ConnectingText = "\xD0\xA1onnecting";
inline constexpr const char* NoConnectingText = "No connecting";
inline constexpr const char* QuantityOfErrorsText = "Quantity of errors: ";
inline constexpr const char* NoConnectingMessage = "No connecting.";

}  // namespace Lang

// The one table of window texts, filled before main runs and never changed.
extern const Lang::Table LangText;
