#include "lang/Lang.h"

namespace {

Lang::Table MakeLangText() {
    Lang::Table table;
    auto set = [&table](Lang::Entry entry, const char* russian, const char* english) {
        table[0][entry] = russian;
        table[1][entry] = english;
    };
    set(Lang::StartAction, "Старт F5", "Start F5");
    set(Lang::StopAction, "Стоп F5", "Stop F5");
    set(Lang::ResetErrorsAction, "Сброс ошибок F8", "Reset Errors F8");
    set(Lang::FirstSetPage, "Набор 1 ( F1 )", "1 Set ( F1 )");
    set(Lang::SecondSetPage, "Набор 2 ( F2 )", "2 Set ( F2 )");
    set(Lang::ErrorsPage, "Ошибки ( F3 )", "Errors ( F3 )");
    // No blank before the parenthesis here, unlike the three pages before it.
    set(Lang::EcuInfoPage, "Информация о блоке( F4 )", "ECU information( F4 )");
    set(Lang::CodeColumn, "Код", "Code");
    set(Lang::NameColumn, "Наименование", "Name");
    set(Lang::ValueColumn, "Значение", "Value");
    set(Lang::UnitColumn, "Ед.изм", "Unit");
    set(Lang::ProgramVersionLabel, "Версия программы", "Program version");
    set(Lang::ApplicationIdLabel, "Идентификатор приложения", "Application identifier");
    set(Lang::ManufacturerCodeLabel, "Код производителя", "Manufacturer code");
    set(Lang::ProductionDateLabel, "Дата изготовления", "Production date");
    set(Lang::LastProgrammingDateLabel, "Дата перепрограммирования", "Date of last programming");
    set(Lang::UserLabel, "Пользователь", "User");
    set(Lang::SerialNumberLabel, "Серийный номер", "Serial number");
    set(Lang::WholeWorkingTimeLabel, "Двигатель отработал", "Whole working time");
    set(Lang::NearIdleTimeLabel, "Обороты близкие к холостому ходу", "Turnovers close to idle");
    set(Lang::HighSpeedSmallLoadTimeLabel, "Высокие обороты и малые нагрузки",
        "High turnovers and small loads");
    set(Lang::PartialLoadTimeLabel, "Режим частичных нагрузок", "The Mode of partial loads");
    set(Lang::MaximumLoadTimeLabel, "Режим максимальных нагрузок", "The Mode of maximum loads");
    set(Lang::RackZeroPositionLabel, "Нулевое положение рейки SRPOS", "Rack zero position SRPOS");
    set(Lang::VinLabel, "Идентификационный номер автомобиля", "Vehicle Identification Number");
    set(Lang::TrendTitle, "Тренд", "Trend");
    set(Lang::TrendRows, "Параметры (до четырёх)", "Parameters (up to four)");
    set(Lang::TrendMinute, "Последняя минута", "Last minute");
    set(Lang::TrendFiveMinutes, "Последние 5 минут", "Last 5 minutes");
    set(Lang::LogTip, "Журнал значений (F6):", "Log of the values (F6):");
    set(Lang::LogNotStarted, "Журнал не начат", "The log could not be started");
    set(Lang::LogStopped, "Журнал остановлен", "The log stopped");
    set(Lang::ReportTitle, "Отчёт о диагностике ЭБУ", "ECU diagnostic report");
    set(Lang::ReportTool, "Программа", "Program");
    set(Lang::ReportTime, "Дата и время", "Date and time");
    set(Lang::ReportPort, "Порт", "Port");
    set(Lang::ReportIdentification, "Идентификация", "Identification");
    set(Lang::ReportCounters, "Счётчики наработки (часы:минуты)",
        "Engine-hour counters (hours:minutes)");
    set(Lang::ReportErrors, "Ошибки", "Stored errors");
    set(Lang::ReportErrorCount, "Количество ошибок:", "Number of errors:");
    set(Lang::ReportNoErrors, "Ошибок нет.", "No error is stored.");
    set(Lang::ReportNumberColumn, "№", "No.");
    set(Lang::ReportValues, "Параметры, набор", "Parameters, set");
    set(Lang::ReportRangeColumn, "Диапазон", "Range");
    set(Lang::ReportOutOfRange, "вне диапазона", "out of range");
    set(Lang::ReportUnanswered, "ЭБУ не ответил", "the ECU did not answer");
    set(Lang::ReportNotSent, "не запрошено: ЭБУ не ответил на предыдущий запрос",
        "not asked: the ECU did not answer the request before");
    set(Lang::ReportNotForThisVersion, "эта версия программы ЭБУ его не передаёт",
        "this program version of the ECU does not give it");
    set(Lang::ReportNotSelected, "не выбран в ЭБУ", "not selected in the ECU");
    set(Lang::ReportSelectionRefused, "ЭБУ не принял параметр слота",
        "The ECU did not take the parameter of slot");
    set(Lang::ReportComplete, "ЭБУ ответил на все запросы.", "The ECU answered every request.");
    set(Lang::ReportIncomplete, "ЭБУ ответил не на все запросы; неполны разделы:",
        "The ECU did not answer every request; incomplete:");
    set(Lang::ReportWritten, "Отчёт записан в файл", "The report was written to");
    set(Lang::ReportNotWritten, "Отчёт не записан", "The report could not be written");
    set(Lang::LogOpenButton, "Открыть журнал…", "Open log…");
    set(Lang::LogBackButton, "К текущим значениям", "Back to live");
    set(Lang::LogFileFilter, "Журналы (*.csv)", "Logs (*.csv)");
    set(Lang::LogViewerTitle, "Журнал", "Log");
    set(Lang::LogMinimum, "мин", "min");
    set(Lang::LogMaximum, "макс", "max");
    set(Lang::LogNotOpened, "Журнал не открыт", "The log could not be opened");
    set(Lang::LogNotALog, "Файл не является журналом", "The file is no log");
    set(Lang::LogLineWord, "строка", "line");
    set(Lang::LogEmptyFile, "файл пуст", "the file is empty");
    set(Lang::LogNoTimeHeader, "в заголовке нет поля \"time\"", "its header has no field \"time\"");
    set(Lang::LogTooManyRows, "строк больше, чем", "it has more rows than");
    set(Lang::LogRowsSkipped, "Строк пропущено", "Rows skipped");
    return table;
}

}  // namespace

const Lang::Table LangText = MakeLangText();

const char* Lang::LanguageButtonText(int languageIndex) {
    return languageIndex == 0 ? "English" : "Russian";
}
