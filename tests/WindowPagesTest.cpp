// What the window's pages show, on scripted ports and on simulators: the
// errors page and the ECU information page after a read and after a failed
// one, the values with their decimals and the user's separator, the counters
// in their mask, and the captions of both languages.

#include <numeric>

#include "support/BehaviourFixture.h"
#include "text/CodePage.h"
#include "window/CounterText.h"

namespace {

template <typename Ecus>
class WindowPages : public BehaviourTest<Ecus> {
protected:
    void SetUp() override {
        this->ecus.AddEcu("COM1");
        std::iota(all.begin(), all.end(), 0);
    }
    void StoreErrors(const std::vector<int>& numbers) {
        std::array<std::uint8_t, 16> bitmap{};
        for (int k : numbers) bitmap[k / 8] |= static_cast<std::uint8_t>(1u << (k % 8));
        this->ecus.SetErrorBitmap("COM1", bitmap);
    }
    std::vector<std::string> MemoLines() const {
        std::vector<std::string> lines;
        const std::string& memo = this->view.Memo;
        for (std::size_t from = 0; !memo.empty();) {
            const std::size_t end = memo.find('\n', from);
            lines.push_back(memo.substr(from, end - from));
            if (end == std::string::npos) break;
            from = end + 1;
        }
        return lines;
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts(this->view.Boxes.begin(), this->view.Boxes.end());
        texts.insert(texts.end(), this->view.Counters.begin(), this->view.Counters.end());
        return texts;
    }
    std::vector<int> all = std::vector<int>(128);
};
TYPED_TEST_SUITE(WindowPages, EcuBenches, EcuBenchNames);

// --- Errors page ---

TYPED_TEST(WindowPages, EachStoredErrorIsOneLineInErrorOrderAndTheNamesFollowTheLanguage) {
    this->Open();
    for (const auto& numbers : std::vector<std::vector<int>>{{0}, {127}, {8, 9}, {}, this->all}) {
        SCOPED_TRACE(numbers.size() == 1 ? numbers[0] : static_cast<int>(numbers.size()));
        this->StoreErrors(numbers);
        this->Tick(2);
        std::vector<std::string> expected;  // as database.ini defines them, in Russian
        for (int k : numbers) {
            const ErrorDef& def = this->Session().Definitions.Errors[k];
            expected.push_back(Cp1251ToUtf8(def.Code + '\t' + def.NameRu));
        }
        EXPECT_EQ(this->MemoLines(), expected);
        EXPECT_EQ(this->view.Panels[1], "Quantity of errors: " + std::to_string(numbers.size()));
        EXPECT_TRUE(this->window->LinkOk);
    }
    EXPECT_EQ(this->MemoLines()[9], "P0340\tДатчик распредвала: нет сигнала");
    EXPECT_EQ(this->MemoLines()[3], "\t");  // an error the file does not define
    this->window->LanguageBtnClick();
    EXPECT_EQ(this->MemoLines()[9], "P0340\tДатчик распредвала: нет сигнала");
    this->Tick(2);
    EXPECT_EQ(this->MemoLines()[9], "P0340\tCamshaft sensor: no signal");
}

TYPED_TEST(WindowPages, AFailedErrorReadEmptiesTheMemoKeepsTheCountAndLeavesNothingOnTheLine) {
    this->Open();
    this->StoreErrors({0, 5, 17});
    this->Tick(2);
    SimFaults faults;
    faults.FirstByte = 0x0A;  // the read stops at the acknowledgement, the block still comes
    this->ecus.SetFaults("COM1", faults);
    EXPECT_EQ(this->Tick(2).size(), 1u);
    EXPECT_TRUE(this->MemoLines().empty());
    EXPECT_EQ(this->view.Panels[1], "Quantity of errors: 3");
    EXPECT_FALSE(this->window->LinkOk);
    this->ecus.SetFaults("COM1", {});
    this->Tick(2);  // whole, since the rest of the failed reply was purged
    EXPECT_EQ(this->MemoLines().size(), 3u);
}

// --- ECU information page ---

TYPED_TEST(WindowPages, OnlyVersionsFortyToFortyNineAreAskedForUserDateAndVin) {
    this->Open();
    for (std::uint16_t major : {39, 50, 40, 49}) {
        SCOPED_TRACE(major);
        EcuState state = this->ecus.State("COM1");
        state.VersionMajor = major;
        state.VinCp866 = "VIN" + std::to_string(major) + std::string(12, '0');
        this->ecus.SetState("COM1", state);
        const auto frames = this->Tick(3);
        std::vector<RequestFrame> expected{Frames::Probe, Frames::HourCounters,
                                           Frames::Identification};
        const bool asked = major == 40 || major == 49;
        if (asked) expected.insert(expected.end(), {Frames::UserAndDate, Frames::Vin});
        ASSERT_EQ(frames.size(), expected.size());
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(frames[i].Bytes, expected[i].Bytes) << i;
        EXPECT_TRUE(this->window->LinkOk);
        const std::string vin = asked ? state.VinCp866 : std::string();
        EXPECT_EQ(this->Boxes(),
                  (std::vector<std::string>{vin, std::to_string(major) + ".3.5", "1001", "VMX ",
                                            "15.06.2019", asked ? "07.12.26" : "",
                                            asked ? "SERV1" : "", "21435", " 932:4 ", " 338:0 ",
                                            " 328:45", " 200:11", "  65:8 ", "  25:  "}));
    }
}

TYPED_TEST(WindowPages, CountersUnansweredAfterTheProbeEmptyAllButTheVin) {
    this->Open();
    this->Tick(3);
    const std::vector<std::string> read = this->Boxes();
    SimFaults faults;
    faults.Unanswered = {0x81};
    this->ecus.SetFaults("COM1", faults);
    EXPECT_EQ(this->Tick(3).size(), 2u);  // probe, counters
    EXPECT_FALSE(this->window->LinkOk);
    std::vector<std::string> cleared{"X9L21230060123456", "", "", "", "", "", "", ""};
    for (int i = 0; i < 6; ++i) cleared.push_back("    :  ");
    EXPECT_EQ(this->Boxes(), cleared);

    // Identification, user and VIN unanswered: no failure shows, and the
    // boxes show the texts of the last replies.
    faults.Unanswered = {0x82, 0x90};
    this->ecus.SetFaults("COM1", faults);
    EXPECT_EQ(this->Tick(3).size(), 5u);
    EXPECT_TRUE(this->window->LinkOk);
    EXPECT_EQ(this->Boxes(), read);
}

// --- Values, counters and captions ---

TYPED_TEST(WindowPages, ValuesHaveTheirDecimalsAndTheUsersSeparator) {
    WriteBytes(this->folder / "database.ini",
               "[Configuration]\r\nLanguage=EN\r\n"
               "[0000]\r\nAddress=0100\r\nFormula=X/10\r\nDigits=0\r\n"
               "[0001]\r\nAddress=0102\r\nSigned=1\r\nFormula=X/10\r\nDigits=2\r\n");
    this->ecus.SetLiveValue("COM1", 0x0100, 126);
    this->ecus.SetLiveValue("COM1", 0x0102, 0xFFFB);  // -5
    this->ecus.SetLiveValue("COM1", 0x0000, 7);       // the address of every other definition
    this->view.Separator = ",";
    this->Open();
    this->StartPolling();
    EXPECT_EQ(this->view.Value(0, 0), "13");
    EXPECT_EQ(this->view.Value(0, 1), "-0,50");
    EXPECT_EQ(this->view.Value(0, 2), "7");
    this->view.Separator = "\xD9\xAB";  // an Arabic decimal separator, two bytes
    this->Tick();
    EXPECT_EQ(this->view.Value(0, 1),
              "-0\xD9\xAB"
              "50");
}

// A tick whose texts are on view already puts none into the controls: each
// would be painted anew, and a box or the memo lose the user's selection.
TYPED_TEST(WindowPages, ATickThatBringsTheTextsOnViewPutsNone) {
    this->StoreErrors({3, 9});
    this->Open();
    this->window->ADiagExecute();
    for (int page : {2, 3}) {
        SCOPED_TRACE(page);
        this->Tick(page);
        this->Tick(page);  // the link flag shows from the second tick on
        const int put = this->view.TextsPut;
        this->Tick(page);
        EXPECT_EQ(this->view.TextsPut, put);
    }
    // What differs is put, and only that: the memo and the count.
    this->StoreErrors({3});
    this->Tick(2);
    this->Tick(2);
    const int put = this->view.TextsPut;
    this->StoreErrors({9});
    this->Tick(2);
    EXPECT_EQ(this->view.TextsPut, put + 1);
    EXPECT_EQ(this->MemoLines().size(), 1u);
}

TEST(CounterText, DigitsAndColonShowInOrderWhateverTheTextFills) {
    const std::pair<const char*, const char*> cases[] = {
        {"18:11", "  18:11"}, {"4094:45", "4094:45"},  {"25", "  25:  "},
        {"0:8", "   0:8 "},   {"123456:7", "1234:7 "}, {"", "    :  "}};
    for (const auto& [text, shown] : cases) EXPECT_EQ(PlaceCounter(text).Shown, shown) << text;
    const CounterText counter = PlaceCounter("18:11");
    EXPECT_EQ(counter.HoursAt, 2);
    EXPECT_EQ(counter.Hours, "18");
    EXPECT_EQ(counter.Minutes, "11");
}

TYPED_TEST(WindowPages, TwoLanguageClicksRestoreEveryCaption) {
    this->Open();
    const std::vector<std::string> russian = this->view.Captions();
    EXPECT_EQ(russian[0], "English");
    EXPECT_EQ(russian[3], "Набор 1 ( F1 )");
    EXPECT_EQ(std::vector<std::string>(russian.begin() + 7, russian.begin() + 11),
              (std::vector<std::string>{"Код", "Наименование", "Значение", "Ед.изм"}));
    this->window->LanguageBtnClick();
    const std::vector<std::string> english = this->view.Captions();
    EXPECT_EQ(std::vector<std::string>(english.begin(), english.begin() + 7),
              (std::vector<std::string>{"Russian", "Start F5", "Reset Errors F8", "1 Set ( F1 )",
                                        "2 Set ( F2 )", "Errors ( F3 )", "ECU information( F4 )"}));
    EXPECT_EQ(english[15], "Vehicle Identification Number");
    EXPECT_EQ(english[16], "Program version");
    EXPECT_EQ(english[20], "Date of last programming");
    EXPECT_EQ(english[22], "Serial number");
    EXPECT_EQ(english.back(), "Rack zero position SRPOS");
    for (std::size_t i = 0; i < russian.size(); ++i) EXPECT_NE(russian[i], english[i]) << i;
    this->window->LanguageBtnClick();
    EXPECT_EQ(this->view.Captions(), russian);
}

}  // namespace
