// The polling cycle as a mechanic drives it: Start and Stop, the ticks of the
// parameter pages, keys and page changes, clearing the errors, the language
// switch, closing, and a lost adapter coming back. The tick is called directly;
// one test lets the timer run.

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "WindowFixture.h"
#include "serial/SerialPort.h"
#include "support/RecordingSink.h"

namespace {

bool IsSelection(const RequestFrame& frame, int slot) {
    return frame.Bytes[1] == 0x85 && frame.Bytes[2] == slot;
}

class PollingTest : public WindowTest {
protected:
    void SetUp() override {
        ecu = &Ecu("COM1");
        Open();
    }
    std::vector<RequestFrame> Tick() {
        ecu->ClearLog();
        form->Timer1Timer();
        return ecu->ReceivedFrames();
    }
    EcuSimulator* ecu = nullptr;
};

// --- Ticks of a parameter page ---

TEST_F(PollingTest, FirstTickSelectsAndShowsTheSecondOnlyReads) {
    form->ADiag->trigger();
    EXPECT_EQ(form->ADiag->text(), "Стоп F5");
    auto frames = Tick();
    EXPECT_EQ(frames.size(), 17u);
    EXPECT_EQ(Panel(0), "No connecting");  // Start cleared the link flag
    EXPECT_EQ(Panel(1), "0");
    EXPECT_EQ(FilledValues(form->ListView1), 16);
    frames = Tick();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Bytes, Frames::LiveBlock.Bytes);
    EXPECT_EQ(Panel(0), "Сonnecting");
    EXPECT_EQ(Panel(0)[0], QChar(0x0421));  // Cyrillic Es, not Latin C
    EXPECT_EQ(Panel(1), "1");
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(PollingTest, ARefusalStopsTheSelectionAndLeavesTheLaterValuesEmpty) {
    ecu->RefuseSlot(5, 0x3F);
    form->ADiag->trigger();
    auto frames = Tick();
    ASSERT_EQ(frames.size(), 7u);  // slots 0 to 5, then the block
    EXPECT_TRUE(IsSelection(frames[5], 5));
    EXPECT_EQ(frames[6].Bytes, Frames::LiveBlock.Bytes);
    for (int row = 0; row < 16; ++row)
        EXPECT_EQ(Value(form->ListView1, row).isEmpty(), row >= 5) << row;
    ecu->ClearRefusals();
    frames = Tick();
    ASSERT_EQ(frames.size(), 17u);
    EXPECT_TRUE(IsSelection(frames[0], 0));
    EXPECT_EQ(FilledValues(form->ListView1), 16);
}

TEST_F(PollingTest, AnyKeySelectsAgainAndF2TurnsToTheSecondSet) {
    StartPolling(*ecu);
    QTest::keyClick(form->ComNumber, Qt::Key_Down);
    EXPECT_EQ(Tick().size(), 17u);
    const QString firstSetValue = Value(form->ListView1, 0);

    QTest::keyClick(form.get(), Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(form->PageControl1->currentIndex(), 1);
    const auto frames = Tick();
    ASSERT_EQ(frames.size(), 17u);
    const auto address = form->Session().Parameters[16].Address;
    EXPECT_EQ(frames[0].Bytes, Frames::Select(0, static_cast<std::uint16_t>(address)).Bytes);
    EXPECT_EQ(FilledValues(form->ListView2), 16);
    EXPECT_EQ(Value(form->ListView1, 0), firstSetValue);  // kept from its last update
}

TEST_F(PollingTest, LanguageSwitchWhilePollingSelectsTheShownSetAgain) {
    StartPolling(*ecu);
    form->LanguageBtn->click();
    EXPECT_EQ(form->ADiag->text(), "Stop F5");
    EXPECT_EQ(FilledValues(form->ListView1), 0);
    const auto frames = Tick();
    ASSERT_EQ(frames.size(), 17u);
    for (int slot = 0; slot < 16; ++slot) {
        const auto address = form->Session().Parameters[slot].Address;
        EXPECT_EQ(frames[slot].Bytes,
                  Frames::Select(slot, static_cast<std::uint16_t>(address)).Bytes);
    }
    EXPECT_EQ(FilledValues(form->ListView1), 16);
    EXPECT_EQ(form->ListView1->item(0, 1)->text(), "Engine speed");
}

// --- Start, Stop and F8 ---

TEST_F(PollingTest, F8WhileIdleClearsAndStartsTheTicksAndStartStopsThemAfterwards) {
    ecu->ClearLog();
    QTest::keyClick(form.get(), Qt::Key_F8);
    const auto frames = ecu->ReceivedFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Bytes, Frames::ClearErrors.Bytes);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_FALSE(form->Polling);
    EXPECT_EQ(form->ADiag->text(), "Старт F5");

    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_TRUE(form->Polling);
    EXPECT_EQ(form->ADiag->text(), "Стоп F5");
    EXPECT_TRUE(form->Timer1->isActive());
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_FALSE(form->Polling);
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(PollingTest, StopThenStartCountsReadsFromZeroAgain) {
    StartPolling(*ecu);
    Tick();
    EXPECT_EQ(Panel(1), "1");
    form->ADiag->trigger();
    form->ADiag->trigger();
    EXPECT_EQ(Tick().size(), 17u);
    EXPECT_EQ(Panel(1), "0");
}

// --- Closing ---

TEST_F(PollingTest, ClosingWhilePollingClosesThePortAndWritesOnlyTheLanguage) {
    const std::string before = ReadBytes(folder / "database.ini");
    StartPolling(*ecu);
    form->LanguageBtn->click();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->Polling);
    form.reset();

    std::string expected = before;
    const std::size_t at = expected.find("Language=RU");
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, 11, "Language=EN");
    EXPECT_EQ(ReadBytes(folder / "database.ini"), expected);
    RecordingSink sink;
    SerialPort other(sink, folder.Path());
    other.Open("COM1");
    EXPECT_TRUE(other.IsOpen()) << "the window still holds the port";
}

// --- A lost adapter ---

TEST_F(PollingTest, AReplugedAdapterBringsTheValuesBackWithoutTheUser) {
    StartPolling(*ecu);
    ecu->HangUp();
    Tick();
    Tick();
    EXPECT_EQ(Panel(0), "No connecting");
    EXPECT_EQ(Panel(1), "0");
    EcuSimulator& replugged = Ecu("COM1");
    form->Timer1Timer();
    EXPECT_EQ(replugged.ReceivedFrames().size(), 18u);  // probe, sixteen selections, block
    EXPECT_EQ(Panel(1), "1");
    EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(PollingTest, TheTimerTicksOnItsOwn) {
    form->ADiag->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Panel(1) == "2"; }, 20000));
    EXPECT_EQ(Panel(0), "Сonnecting");
}

}  // namespace
