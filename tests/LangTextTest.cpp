// The window's fixed texts, as mechanics know them from the tool's earlier
// versions: a Latin letter for a Cyrillic look-alike, or a blank too many,
// would show on every screen.

#include <gtest/gtest.h>

#include <string>

#include "lang/Lang.h"

namespace {

struct Row {
    Lang::Entry Entry;
    const char* Russian;
    const char* English;
};

// The texts, spelled out once more here on purpose: the table is the contract.
constexpr Row Expected[] = {
    {Lang::StartAction, "Старт F5", "Start F5"},
    {Lang::StopAction, "Стоп F5", "Stop F5"},
    {Lang::ResetErrorsAction, "Сброс ошибок F8", "Reset Errors F8"},
    {Lang::FirstSetPage, "Набор 1 ( F1 )", "1 Set ( F1 )"},
    {Lang::SecondSetPage, "Набор 2 ( F2 )", "2 Set ( F2 )"},
    {Lang::ErrorsPage, "Ошибки ( F3 )", "Errors ( F3 )"},
    {Lang::EcuInfoPage, "Информация о блоке( F4 )", "ECU information( F4 )"},
    {Lang::CodeColumn, "Код", "Code"},
    {Lang::NameColumn, "Наименование", "Name"},
    {Lang::ValueColumn, "Значение", "Value"},
    {Lang::UnitColumn, "Ед.изм", "Unit"},
    {Lang::ProgramVersionLabel, "Версия программы", "Program version"},
    {Lang::ApplicationIdLabel, "Идентификатор приложения", "Application identifier"},
    {Lang::ManufacturerCodeLabel, "Код производителя", "Manufacturer code"},
    {Lang::ProductionDateLabel, "Дата изготовления", "Production date"},
    {Lang::LastProgrammingDateLabel, "Дата перепрограммирования", "Date of last programming"},
    {Lang::UserLabel, "Пользователь", "User"},
    {Lang::SerialNumberLabel, "Серийный номер", "Serial number"},
    {Lang::WholeWorkingTimeLabel, "Двигатель отработал", "Whole working time"},
    {Lang::NearIdleTimeLabel, "Обороты близкие к холостому ходу", "Turnovers close to idle"},
    {Lang::HighSpeedSmallLoadTimeLabel, "Высокие обороты и малые нагрузки",
     "High turnovers and small loads"},
    {Lang::PartialLoadTimeLabel, "Режим частичных нагрузок", "The Mode of partial loads"},
    {Lang::MaximumLoadTimeLabel, "Режим максимальных нагрузок", "The Mode of maximum loads"},
    {Lang::RackZeroPositionLabel, "Нулевое положение рейки SRPOS", "Rack zero position SRPOS"},
    {Lang::VinLabel, "Идентификационный номер автомобиля", "Vehicle Identification Number"},
    {Lang::TrendTitle, "Тренд", "Trend"},
    {Lang::TrendRows, "Параметры (до четырёх)", "Parameters (up to four)"},
    {Lang::TrendMinute, "Последняя минута", "Last minute"},
    {Lang::TrendFiveMinutes, "Последние 5 минут", "Last 5 minutes"},
    {Lang::LogTip, "Журнал значений (F6):", "Log of the values (F6):"},
    {Lang::LogNotStarted, "Журнал не начат", "The log could not be started"},
    {Lang::LogStopped, "Журнал остановлен", "The log stopped"},
    {Lang::ReportTitle, "Отчёт о диагностике ЭБУ", "ECU diagnostic report"},
    {Lang::ReportTool, "Программа", "Program"},
    {Lang::ReportTime, "Дата и время", "Date and time"},
    {Lang::ReportPort, "Порт", "Port"},
    {Lang::ReportIdentification, "Идентификация", "Identification"},
    {Lang::ReportCounters, "Счётчики наработки (часы:минуты)",
     "Engine-hour counters (hours:minutes)"},
    {Lang::ReportErrors, "Ошибки", "Stored errors"},
    {Lang::ReportErrorCount, "Количество ошибок:", "Number of errors:"},
    {Lang::ReportNoErrors, "Ошибок нет.", "No error is stored."},
    {Lang::ReportNumberColumn, "№", "No."},
    {Lang::ReportValues, "Параметры, набор", "Parameters, set"},
    {Lang::ReportRangeColumn, "Диапазон", "Range"},
    {Lang::ReportOutOfRange, "вне диапазона", "out of range"},
    {Lang::ReportUnanswered, "ЭБУ не ответил", "the ECU did not answer"},
    {Lang::ReportNotSent, "не запрошено: ЭБУ не ответил на предыдущий запрос",
     "not asked: the ECU did not answer the request before"},
    {Lang::ReportNotForThisVersion, "эта версия программы ЭБУ его не передаёт",
     "this program version of the ECU does not give it"},
    {Lang::ReportNotSelected, "не выбран в ЭБУ", "not selected in the ECU"},
    {Lang::ReportSelectionRefused, "ЭБУ не принял параметр слота",
     "The ECU did not take the parameter of slot"},
    {Lang::ReportComplete, "ЭБУ ответил на все запросы.", "The ECU answered every request."},
    {Lang::ReportIncomplete, "ЭБУ ответил не на все запросы; неполны разделы:",
     "The ECU did not answer every request; incomplete:"},
    {Lang::ReportWritten, "Отчёт записан в файл", "The report was written to"},
    {Lang::ReportNotWritten, "Отчёт не записан", "The report could not be written"},
    {Lang::LogOpenButton, "Открыть журнал…", "Open log…"},
    {Lang::LogBackButton, "К текущим значениям", "Back to live"},
    {Lang::LogFileFilter, "Журналы (*.csv)", "Logs (*.csv)"},
    {Lang::LogViewerTitle, "Журнал", "Log"},
    {Lang::LogMinimum, "мин", "min"},
    {Lang::LogMaximum, "макс", "max"},
    {Lang::LogNotOpened, "Журнал не открыт", "The log could not be opened"},
    {Lang::LogNotALog, "Файл не является журналом", "The file is no log"},
    {Lang::LogLineWord, "строка", "line"},
    {Lang::LogEmptyFile, "файл пуст", "the file is empty"},
    {Lang::LogNoTimeHeader, "в заголовке нет поля \"time\"", "its header has no field \"time\""},
    {Lang::LogTooManyRows, "строк больше, чем", "it has more rows than"},
    {Lang::LogRowsSkipped, "Строк пропущено", "Rows skipped"},
};

TEST(LangText, EveryFilledEntryReadsExactlyAsShownToUsers) {
    static_assert(std::size(Expected) == Lang::FilledEntries);
    for (const Row& row : Expected) {
        EXPECT_EQ(LangText[0][row.Entry], row.Russian) << "entry " << row.Entry;
        EXPECT_EQ(LangText[1][row.Entry], row.English) << "entry " << row.Entry;
    }
    for (std::size_t entry = Lang::FilledEntries; entry < Lang::EntryCount; ++entry) {
        EXPECT_TRUE(LangText[0][entry].empty() && LangText[1][entry].empty()) << entry;
    }
}

TEST(LangText, LatinLettersStayLatinInsideRussianTexts) {
    // "F5" and "SRPOS" are typed in Latin inside the Cyrillic captions.
    EXPECT_NE(LangText[0][Lang::StartAction].find("F5"), std::string::npos);
    EXPECT_NE(LangText[0][Lang::RackZeroPositionLabel].find("SRPOS"), std::string::npos);
    // The status text starts with the Cyrillic Es (U+0421), not a Latin C.
    EXPECT_EQ(std::string(Lang::ConnectingText), "\u0421onnecting");
    EXPECT_NE(std::string(Lang::ConnectingText)[0], 'C');
}

TEST(LangText, TheLanguageButtonNamesTheOtherLanguage) {
    EXPECT_STREQ(Lang::LanguageButtonText(0), "English");
    EXPECT_STREQ(Lang::LanguageButtonText(1), "Russian");
}

}  // namespace
