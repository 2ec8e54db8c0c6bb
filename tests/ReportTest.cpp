// The report of an ECU: read over the line in the frames of the window's
// pages, on a scripted port and on the simulator over a pseudo-terminal; every
// part the ECU did not answer said as such; written, in either language, as
// HTML that a strict HTML5 parser takes with every text escaped, and as JSON
// that carries the same values; and the file it goes into.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "database/DefinitionDatabase.h"
#include "database/ParameterSets.h"
#include "platform/LocalTime.h"
#include "report/ReportFile.h"
#include "report/ReportHtml.h"
#include "report/ReportJson.h"
#include "report/ReportReading.h"
#include "report/ReportText.h"
#include "support/LineFixture.h"
#include "text/CodePage.h"

#ifndef _WIN32
#include "support/CliRun.h"
#include "support/FileSizeLimit.h"
#endif

using ::testing::HasSubstr;
using ::testing::Not;
using Json = nlohmann::ordered_json;

namespace {

// Set 1 has two parameters of its own, the first with markup characters in
// its code and names; its other slots read address 0. Errors 0 and 9 are
// defined, the second with markup characters in its names.
std::string DefinitionFile() {
    return Utf8ToCp1251(
        "[Configuration]\r\nLanguage=RU\r\n"
        "[0000]\r\nCodeEn=N<MOT\r\nNameRu=Обороты <двигателя>\r\nNameEn=Engine <speed> & load\r\n"
        "UnitRu=об/мин\r\nUnitEn=rpm\r\nAddress=0100\r\nFormula=X/4\r\nMin=0\r\nMax=3000\r\n"
        "[0001]\r\nCodeEn=TWAT\r\nNameRu=Температура ОЖ\r\nNameEn=Coolant temperature\r\n"
        "UnitRu=°C\r\nUnitEn=°C\r\nAddress=0102\r\nSigned=1\r\nFormula=X*0.1\r\nDigits=1\r\n"
        "Min=-40\r\nMax=130\r\n"
        "[0100]\r\nCode=P0115\r\nNameRu=Датчик ОЖ: обрыв\r\nNameEn=Coolant sensor: open circuit\r\n"
        "[0109]\r\nCode=P0340\r\nNameRu=Датчик <распредвала> & цепь\r\n"
        "NameEn=Camshaft <sensor> & circuit\r\n");
}

// What the simulated ECU says of itself, box by box of the information page.
const std::vector<std::string> EcuTexts{"X9L21230060123456",
                                        "40.3.5",
                                        "1001",
                                        "VMX ",
                                        "15.06.2019",
                                        "07.12.26",
                                        "SERV1",
                                        "21435",
                                        "932:4",
                                        "338:0",
                                        "328:45",
                                        "200:11",
                                        "65:8",
                                        "25"};

const auto Moment = std::chrono::system_clock::time_point(std::chrono::seconds(1'780'000'000));

template <typename Ecus>
class Report : public LineTest<Ecus> {
protected:
    void SetUp() override {
        LineTest<Ecus>::SetUp();
        WriteBytes(this->folder / "database.ini", DefinitionFile());
        definitions = std::make_unique<DefinitionDatabase>(this->folder / "database.ini");
        sets = std::make_unique<ParameterSets>(definitions->Parameters);
        this->ecus.SetLiveValue(this->Port, 0x0100, 3200);  // 800 rpm
        this->ecus.SetLiveValue(this->Port, 0x0102, 1400);  // 140.0 °C, above its 130
        this->ecus.SetLiveValue(this->Port, 0x0000, 7);
        std::array<std::uint8_t, 16> bitmap{};
        bitmap[0] = 0x01;
        bitmap[1] = 0x02;  // errors 0 and 9
        this->ecus.SetErrorBitmap(this->Port, bitmap);
    }
    EcuReport Read(int language = 1) {
        definitions->LanguageIndex = static_cast<std::uint8_t>(language);
        definitions->ApplyDefinitionLanguage();
        this->ecus.ClearLog(this->Port);
        return ReadEcuReport(this->line, *definitions, *sets, 0, {"vmxdiag-test", "9.8", Moment});
    }

    std::unique_ptr<DefinitionDatabase> definitions;
    std::unique_ptr<ParameterSets> sets;
};
TYPED_TEST_SUITE(Report, EcuBenches, EcuBenchNames);

std::vector<std::string> FieldTexts(const EcuReport& report) {
    std::vector<std::string> texts;
    for (const ReportField& field : report.Fields) texts.push_back(field.Text);
    return texts;
}

// How each part went, in one line: a letter per box and per slot (A answered,
// U unanswered, n not sent, v not for this version), then whether the errors
// came and the report is complete.
std::string Answers(const EcuReport& report) {
    const auto letter = [](ReportAnswer answer) {
        return answer == ReportAnswer::Answered     ? 'A'
               : answer == ReportAnswer::Unanswered ? 'U'
               : answer == ReportAnswer::NotSent    ? 'n'
                                                    : 'v';
    };
    std::string text;
    for (const ReportField& field : report.Fields) text += letter(field.Answer);
    text += report.Errors ? " errors " : " no-errors ";
    for (const ReportValue& value : report.Values) text += letter(value.Answer);
    return text + (report.Complete() ? " complete" : " incomplete");
}

}  // namespace

// --- Reading ---

TYPED_TEST(Report, EveryPartIsWhatTheEcuSaidReadInTheFramesOfThePages) {
    const EcuReport report = this->Read();
    std::vector<RequestFrame> expected{
        Frames::Probe,       Frames::HourCounters, Frames::Identification,
        Frames::UserAndDate, Frames::Vin,          Frames::ReadErrors};
    for (int slot = 0; slot < SlotCount; ++slot)
        expected.push_back(
            Frames::Select(static_cast<std::uint8_t>(slot), slot < 2 ? 0x0100 + 2 * slot : 0));
    expected.push_back(Frames::LiveBlock);
    const auto frames = this->Received();
    ASSERT_EQ(frames.size(), expected.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].Bytes, expected[i].Bytes) << i;

    EXPECT_EQ(report.ToolName + " " + report.ToolVersion, "vmxdiag-test 9.8");
    EXPECT_EQ(report.Time, Moment);
    EXPECT_EQ(report.PortName, "COM1");
    EXPECT_EQ(report.Device, this->line.Device());
    EXPECT_EQ(FieldTexts(report), EcuTexts);
    EXPECT_EQ(Answers(report), "AAAAAAAAAAAAAA errors AAAAAAAAAAAAAAAA complete");
    ASSERT_TRUE(report.Errors);
    ASSERT_EQ(report.Errors->size(), 2u);
    EXPECT_EQ((*report.Errors)[0].Number, 0);
    EXPECT_EQ((*report.Errors)[1].Number, 9);
    EXPECT_EQ((*report.Errors)[1].Code, "P0340");
    const ReportValue& speed = report.Values[0];
    EXPECT_EQ(speed.Code + "|" + speed.Name + "|" + speed.Text + "|" + speed.Unit,
              "N<MOT|Engine <speed> & load|800|rpm");
    EXPECT_FALSE(speed.OutOfRange);
    EXPECT_EQ(report.Values[1].Text, "140.0");
    EXPECT_DOUBLE_EQ(report.Values[1].Value, 140.0);
    EXPECT_TRUE(report.Values[1].OutOfRange);
    EXPECT_EQ(report.Values[1].Max, 130.0);
    EXPECT_EQ(report.Values[15].Text, "7");
    EXPECT_FALSE(report.Values[15].Min);  // a definition without a range
}

// The information page keeps the texts of its last good read; a report must
// never give one (perhaps of another ECU) as this read's.
TYPED_TEST(Report, APartTheEcuDidNotAnswerIsSaidAndTheOtherPartsAreStillRead) {
    struct Case {
        const char* Fault;
        std::set<std::uint8_t> Unanswered;
        int RefusedSlot = -1;
        std::uint16_t Major = 40;
        const char* Answers;
    };
    const Case cases[] = {
        {"counters", {0x81}, -1, 40, "nAAnnnnnUUUUUU errors AAAAAAAAAAAAAAAA incomplete"},
        {"identification", {0x82}, -1, 40, "AAAUUUUUAAAAAA errors AAAAAAAAAAAAAAAA incomplete"},
        {"probe", {0x80}, -1, 40, "nUUnnnnnnnnnnn errors AAAAAAAAAAAAAAAA incomplete"},
        {"errors", {0x83}, -1, 40, "AAAAAAAAAAAAAA no-errors AAAAAAAAAAAAAAAA incomplete"},
        {"live block", {0x84}, -1, 40, "AAAAAAAAAAAAAA errors UUUUUUUUUUUUUUUU incomplete"},
        {"slot 5 refused", {}, 5, 40, "AAAAAAAAAAAAAA errors AAAAAnnnnnnnnnnn incomplete"},
        {"version 39", {}, -1, 39, "vAAAAvvAAAAAAA errors AAAAAAAAAAAAAAAA complete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Fault);
        this->Read();  // every text filled, so that a stale one would show
        SimFaults faults;
        faults.Unanswered = c.Unanswered;
        this->SetFaults(faults);
        if (c.RefusedSlot >= 0)
            this->ecus.RefuseSlot(this->Port, static_cast<std::uint8_t>(c.RefusedSlot), 0x3F);
        EcuState state = this->ecus.State(this->Port);
        state.VersionMajor = c.Major;
        this->ecus.SetState(this->Port, state);

        const EcuReport report = this->Read();
        EXPECT_EQ(Answers(report), c.Answers);
        for (const ReportField& field : report.Fields)
            EXPECT_TRUE(field.Answer == ReportAnswer::Answered || field.Text.empty());
        for (const ReportValue& value : report.Values)
            EXPECT_TRUE(value.Answer == ReportAnswer::Answered || value.Text.empty());
        EXPECT_EQ(report.Selection.Accepted, c.RefusedSlot >= 0 ? c.RefusedSlot : SlotCount);

        this->SetFaults({});
        this->ecus.ClearRefusals(this->Port);
        state.VersionMajor = 40;
        this->ecus.SetState(this->Port, state);
    }
}

// --- Writing ---

#ifndef _WIN32
// What a strict HTML5 parser says of the page: "ok", or its first error.
std::string StrictHtmlParse(const std::filesystem::path& file) {
    const std::string script =
        "import html5lib, sys\n"
        "try:\n"
        "    html5lib.HTMLParser(strict=True).parse(open(sys.argv[1], 'rb').read())\n"
        "    print('ok')\n"
        "except Exception as error:\n"
        "    print(error)\n";
    const auto path = file.parent_path() / "parse.py";
    WriteBytes(path, script);
    // Debian's own interpreter, which the package python3-html5lib serves.
    return RunShell("/usr/bin/python3 '" + path.string() + "' '" + file.string() + "'").output;
}
#endif

TYPED_TEST(Report, TheHtmlIsWellFormedWithEveryTextEscapedAndTheJsonCarriesTheSameValues) {
    SimFaults faults;
    faults.Unanswered = {0x90};
    for (bool complete : {true, false}) {
        SCOPED_TRACE(complete);
        this->SetFaults(complete ? SimFaults{} : faults);
        const EcuReport report = this->Read(complete ? 1 : 0);

        const std::string html = ReportHtml(report);
        EXPECT_THAT(html,
                    HasSubstr(complete ? "<td>N&lt;MOT</td><td>Engine &lt;speed&gt; &amp; load</td>"
                                       : "<td>N&lt;MOT</td><td>Обороты &lt;двигателя&gt;</td>"));
        EXPECT_THAT(html, HasSubstr(complete ? "Camshaft &lt;sensor&gt; &amp; circuit"
                                             : "Датчик &lt;распредвала&gt; &amp; цепь"));
        EXPECT_THAT(html, HasSubstr(complete ? "Number of errors: 2" : "Количество ошибок: 2"));
        EXPECT_THAT(html, Not(HasSubstr("<sensor>")));
        EXPECT_THAT(html, Not(HasSubstr("<script")));
        EXPECT_THAT(html, HasSubstr(complete ? "<td class=\"vin\">X9L21230060123456</td>"
                                             : "<td class=\"missing\">ЭБУ не ответил</td>"));
#ifndef _WIN32
        WriteBytes(this->folder / "report.html", html);
        EXPECT_EQ(StrictHtmlParse(this->folder / "report.html"), "ok\n");
#endif

        const Json json = Json::parse(ReportJson(report));
        EXPECT_EQ(json["complete"], complete);
        EXPECT_EQ(json["language"], complete ? "en" : "ru");
        EXPECT_EQ(json["time"], ReportTimeStamp(Moment));
        EXPECT_EQ(json["port"]["device"], report.Device);
        std::vector<std::string> texts;
        for (const char* group : {"identification", "counters"})
            for (const auto& field : json[group])
                texts.push_back(field["text"].is_null() ? "" : field["text"].get<std::string>());
        EXPECT_EQ(texts, FieldTexts(report));
        EXPECT_EQ(json["identification"]["vin"]["status"], complete ? "answered" : "unanswered");
        EXPECT_EQ(json["errors"]["count"], 2);
        ASSERT_EQ(json["errors"]["list"].size(), 2u);
        EXPECT_EQ(json["errors"]["list"][1]["number"], 9);
        EXPECT_EQ(json["errors"]["list"][1]["text"], ReportText((*report.Errors)[1].Text));
        const Json& values = json["values"]["list"];
        ASSERT_EQ(values.size(), 16u);
        for (std::size_t slot = 0; slot < values.size(); ++slot) {
            const ReportValue& value = report.Values[slot];
            EXPECT_EQ(values[slot]["code"], ReportText(value.Code));
            EXPECT_EQ(values[slot]["name"], ReportText(value.Name));
            EXPECT_EQ(values[slot]["value"], value.Value);
            EXPECT_EQ(values[slot]["text"], value.Text);
            EXPECT_EQ(values[slot]["out_of_range"], value.OutOfRange);
        }
        EXPECT_EQ(values[1]["max"], 130.0);
        EXPECT_TRUE(values[2]["max"].is_null());
    }
}

// Texts that are no numbers or no well-formed UTF-8, and parts that did not
// come, still make a page a strict parser takes and a JSON document.
TEST(ReportWriters, ValuesThatAreNoNumbersAndBytesThatAreNoUtf8StayReadable) {
    EcuReport report;
    report.ToolName = "vmxdiag";
    report.ToolVersion = "1.0";
    report.PortName = "COM1";
    report.Device = "/dev/tty\xFF\x01<x>";
    report.Fields[0].Answer = ReportAnswer::Answered;
    report.Fields[0].Text = std::string("VIN\x01\xC0<b>", 8);
    report.Selection.Accepted = 3;
    report.Selection.Refusal = -3;
    report.BlockAnswered = true;
    for (int slot = 0; slot < 3; ++slot) {
        report.Values[slot].Answer = ReportAnswer::Answered;
        report.Values[slot].Code = "C" + std::to_string(slot);
    }
    report.Values[0].Value = std::nan("");
    report.Values[0].Text = "NAN";
    report.Values[1].Value = -INFINITY;
    report.Values[1].Text = "-INF";
    report.Values[2].Value = 0.25;
    report.Values[2].Text = "0,25";

    const Json json = Json::parse(ReportJson(report));
    EXPECT_EQ(json["port"]["device"],
              "/dev/tty?"
              "?<x>");
    EXPECT_EQ(json["identification"]["vin"]["text"], "VIN?\xD0\x90<b>");  // 0xC0 is cp1251's А
    EXPECT_EQ(json["identification"]["program_version"]["status"], "not_sent");
    EXPECT_TRUE(json["identification"]["program_version"]["text"].is_null());
    EXPECT_TRUE(json["errors"]["list"].is_null());
    EXPECT_EQ(json["unanswered"], Json({"identification", "errors", "values"}));
    const Json& values = json["values"];
    EXPECT_EQ(values["selection_refused"]["slot"], 3);
    EXPECT_EQ(values["selection_refused"]["status"], -3);
    EXPECT_TRUE(values["list"][0]["value"].is_null());
    EXPECT_EQ(values["list"][0]["text"], "NAN");
    EXPECT_TRUE(values["list"][1]["value"].is_null());
    EXPECT_EQ(values["list"][1]["text"], "-INF");
    EXPECT_EQ(values["list"][2]["value"], 0.25);
    EXPECT_EQ(values["list"][3]["status"], "not_sent");
    EXPECT_TRUE(values["list"][3]["value"].is_null());

    const std::string html = ReportHtml(report);
    EXPECT_THAT(html, HasSubstr("/dev/tty?"
                                "?&lt;x&gt;"));
    EXPECT_THAT(html, HasSubstr("VIN?А&lt;b&gt;"));
#ifndef _WIN32
    ScratchFolder folder;
    WriteBytes(folder / "report.html", html);
    EXPECT_EQ(StrictHtmlParse(folder / "report.html"), "ok\n");
#endif
}

#ifndef _WIN32
// Programs read the time with the zone's offset, east of UTC positive, and
// its minutes; people read the local time.
TEST(ReportWriters, TheTimeStampCarriesTheZonesOffset) {
    const char* before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    for (const auto& [zone, stamp, shown] :
         {std::tuple{"UTC0", "2026-05-28T20:26:40+00:00", "2026-05-28 20:26:40"},
          std::tuple{"MSK-3", "2026-05-28T23:26:40+03:00", "2026-05-28 23:26:40"},
          std::tuple{"NST+3:30", "2026-05-28T16:56:40-03:30", "2026-05-28 16:56:40"}}) {
        ::setenv("TZ", zone, 1);
        ::tzset();
        EXPECT_EQ(ReportTimeStamp(Moment), stamp);
        EXPECT_EQ(ReportTimeText(Moment), shown);
    }
    if (before)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}
#endif

// --- The file ---

TEST(ReportFileTest, AFileThereIsKeptUnlessReplacedAndNamesOfDevicesOrDefinitionsAreRefused) {
    ScratchFolder folder;
    WriteBytes(folder / "old.html", "old");
    std::filesystem::create_directory(folder / "folder");
    struct Case {
        const char* Name;
        bool Replace;
        bool Made;
    };
    for (const Case& c :
         {Case{"old.html", false, false}, Case{"old.html", true, true},
          Case{"new.html", false, true}, Case{"database.ini", true, false},
          Case{"NUL.html", true, false}, Case{"COM1", false, false}, Case{"folder", true, false}}) {
        SCOPED_TRACE(c.Name);
        ReportFile file;
        const bool made = file.Create(folder / c.Name, c.Replace);
        EXPECT_EQ(made, c.Made) << file.Failure();
        EXPECT_EQ(file.Failure().empty(), c.Made);
        if (made) {
            ASSERT_TRUE(file.Write("<!DOCTYPE html>"));
            EXPECT_EQ(ReadBytes(folder / c.Name), "<!DOCTYPE html>");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "database.ini"));
    EXPECT_FALSE(std::filesystem::exists(folder / "NUL.html"));
}

TEST(ReportFileTest, ReportsOfOneSecondGetNumbersAndAFileNamedReportsIsSaid) {
    ScratchFolder folder;
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        ReportFile file;
        ASSERT_TRUE(file.CreateInFolder(folder.Path(), Moment)) << file.Failure();
        ASSERT_TRUE(file.Write("report"));
        names.push_back(file.Path().lexically_relative(folder.Path()).generic_string());
    }
    const std::string stem =
        "reports/" + LocalTimeText(std::chrono::system_clock::to_time_t(Moment), "%Y-%m-%d_%H%M%S");
    EXPECT_EQ(names,
              (std::vector<std::string>{stem + ".html", stem + "_2.html", stem + "_3.html"}));

    ScratchFolder other;
    WriteBytes(other / "reports", "a file");
    ReportFile file;
    EXPECT_FALSE(file.CreateInFolder(other.Path(), Moment));
    EXPECT_EQ(file.Failure(), "it is a file, not a folder");
    EXPECT_EQ(ReadBytes(other / "reports"), "a file");
}

#ifndef _WIN32
// A report is whole or not there: a cut one could be handed over as the ECU's.
TEST(ReportFileTest, AWriteThatFailsOrNeverComesLeavesNoFileBehind) {
    ScratchFolder folder;
    {
        ReportFile file;
        ASSERT_TRUE(file.Create(folder / "cut.html", false));
        const FileSizeLimit full(10);
        EXPECT_FALSE(file.Write(std::string(100, 'x')));
        EXPECT_FALSE(file.Failure().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "cut.html"));
    {
        ReportFile file;
        ASSERT_TRUE(file.Create(folder / "never.html", false));
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "never.html"));
    // A file the user had keeps what it held until a replacement is written
    // whole: a run that read nothing, or a full disk, takes nothing away.
    WriteBytes(folder / "kept.html", "kept");
    {
        ReportFile file;
        ASSERT_TRUE(file.Create(folder / "kept.html", true));
        EXPECT_EQ(ReadBytes(folder / "kept.html"), "kept");
    }
    {
        ReportFile file;
        ASSERT_TRUE(file.Create(folder / "kept.html", true));
        const FileSizeLimit full(10);
        EXPECT_FALSE(file.Write(std::string(100, 'x')));
    }
    EXPECT_EQ(ReadBytes(folder / "kept.html"), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}
#endif
