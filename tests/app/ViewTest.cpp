// What the Qt window itself does: its controls and their places, the program
// that shows a failed start, keys reaching the behaviour before the actions'
// shortcuts, boxes and the memo left alone when their text is unchanged, the
// real timer, and closing.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include "WindowFixture.h"
#include "app/Program.h"
#include "app/TrendForm.h"
#include "recording/LineRecording.h"
#include "serial/SerialPort.h"

namespace {

using Icon = WindowMessages::Icon;

// --- The layout and the program ---

TEST_F(WindowTest, ControlsHaveTheLayoutsNamesAndPlaces) {
    Open();
    EXPECT_EQ(form->size(), QSize(592, 455));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->windowTitle(), "Diag VMX-4410 v.1.06");
    for (const char* name :
         {"ToolBar1",     "ComNumber", "Button1",   "Button2",      "LanguageBtn",
          "PageControl1", "TabSheet1", "TabSheet4", "ListView1",    "ListView2",
          "Memo1",        "GroupBox1", "GroupBox2", "LabeledEdit1", "LabeledEdit8",
          "Label1",       "Label6",    "MaskEdit1", "MaskEdit6",    "StatusBar1"})
        EXPECT_NE(form->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_NE(form->findChild<QTimer*>("Timer1"), nullptr);
    EXPECT_EQ(form->ToolBar1->height(), 29);
    EXPECT_EQ(form->Button1->geometry(), QRect(81, 2, 104, 22));
    EXPECT_EQ(form->LanguageBtn->geometry(), QRect(289, 2, 75, 22));
    EXPECT_EQ(form->Button2->defaultAction(), form->AResetErrors);
    EXPECT_EQ(form->ADiag->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(form->AResetErrors->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(form->AReport->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(form->StatusBar1->height(), 19);
    const int panelWidths[] = {200, 200, 50};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(form->Panels[i]->width(), panelWidths[i]);
    EXPECT_EQ(Panel(2), "F1 - F4");
    EXPECT_EQ(form->Timer1->interval(), 220);
    const int columnWidths[] = {100, 300, 80, 100};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(form->ListView2->columnWidth(column), columnWidths[column]);
    // Sixteen rows, every one in view.
    ASSERT_EQ(form->ListView1->rowCount(), 16);
    EXPECT_LE(form->ListView1->visualItemRect(form->ListView1->item(15, 0)).bottom(),
              form->ListView1->viewport()->height());
    EXPECT_EQ(form->MaskEdits[5]->displayText(), "    :  ");
    // No port: the user is told in a box with the error icon.
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].Text, "No connecting.");
    EXPECT_EQ(messages.Messages[0].Kind, Icon::Error);
}

TEST_F(WindowTest, AnUnconvertibleAddressEndsTheProgramWithItsMessage) {
    WriteBytes(folder / "database.ini", "[0003]\r\nAddress=12G4\r\n");
    WindowBehaviour::Options options;
    options.Directory = folder.Path();
    EXPECT_NE(RunMainForm(messages, options), 0);
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].Text, "'0x12G4' is not a valid integer value");
    EXPECT_EQ(messages.Messages[0].Kind, Icon::Error);
}

// --- Keys ---

// Every key reaches the behaviour before the shortcuts: modifiers are not
// looked at, an arrow key in the port list clears the link flag as well, and
// F5 and F8 still reach their actions.
TEST_F(WindowTest, KeysReachTheBehaviourAndTheShortcutsStillWork) {
    auto& ecu = Ecu("COM1");
    Open();
    QTest::keyClick(form.get(), Qt::Key_F8);
    EXPECT_TRUE(form->Timer1->isActive());  // the clear turns the timer on
    EXPECT_FALSE(form->Behaviour().Polling);
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_TRUE(form->Behaviour().Polling);
    EXPECT_EQ(form->ADiag->text(), "Стоп F5");
    form->Behaviour().Timer1Timer();
    ASSERT_TRUE(form->Behaviour().LinkOk);

    QTest::keyClick(form->ComNumber, Qt::Key_Down);
    EXPECT_FALSE(form->Behaviour().LinkOk);
    EXPECT_EQ(form->ComNumber->currentIndex(), 0);
    QTest::keyClick(form.get(), Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(form->PageControl1->currentIndex(), 1);
    EXPECT_EQ(form->Behaviour().CurrentPage, 1);
    ecu.ClearLog();
    form->Behaviour().Timer1Timer();
    EXPECT_EQ(ecu.ReceivedFrames().size(), 17u);
    EXPECT_FALSE(Value(form->ListView2, 0).isEmpty());
    form->PageControl1->setCurrentIndex(2);  // as a click on the tab
    EXPECT_EQ(form->Behaviour().CurrentPage, 2);
}

// F9, in the main window or the trend window, writes a report of the
// simulator's values that the desktop is asked to open, and says where it is;
// polling and the timer go on.
TEST_F(WindowTest, F9WritesAReportTheDesktopIsAskedToOpenAndPollingGoesOn) {
    auto& ecu = Ecu("COM1");
    EcuState state = ecu.State();
    state.VinCp866 = "WVWZZZ1KZAW000001";
    ecu.SetState(state);
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[1] = 0x02;  // error 9
    ecu.SetErrorBitmap(bitmap);
    Open();
    StartPolling(ecu);
    QTest::keyClick(form.get(), Qt::Key_F7);
    for (QWidget* window :
         {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(form->TrendWindow)}) {
        QTest::keyClick(window, Qt::Key_F9);
        EXPECT_TRUE(form->Behaviour().Polling);
        EXPECT_TRUE(form->Timer1->isActive());
    }
    ASSERT_EQ(messages.Opened.size(), 2u);
    ASSERT_EQ(messages.Notices.size(), 2u);
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_NE(messages.Opened[0], messages.Opened[1]);
    for (std::size_t i = 0; i < 2; ++i) {
        const QString& path = messages.Opened[i];
        EXPECT_EQ(std::filesystem::path(path.toStdString()).parent_path(), folder / "reports");
        const std::string html = ReadBytes(path.toStdString());
        EXPECT_NE(html.find("<td class=\"vin\">WVWZZZ1KZAW000001</td>"), std::string::npos);
        EXPECT_NE(html.find("<td>P0340</td><td>Датчик распредвала: нет сигнала</td>"),
                  std::string::npos);
        EXPECT_EQ(messages.Notices[i].first, QString::fromUtf8("Отчёт о диагностике ЭБУ"));
        EXPECT_TRUE(messages.Notices[i].second.contains(path))
            << messages.Notices[i].second.toStdString();
    }
}

// Fixed fault: the port list had the focus at start, so that one press of an
// arrow key moved polling to another port.
TEST_F(WindowTest, AtStartTheWindowItselfHasTheFocusAndAnArrowKeyChangesNoPort) {
    Ecu("COM1");
    Ecu("COM2");
    Open();
    EXPECT_EQ(QApplication::focusWidget(), form.get());
    const int port = form->ComNumber->currentIndex();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(form->ComNumber->currentIndex(), port);
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);
}

// Fixed fault: a VIN longer than its box showed its end ("/VWZZZ1KZAW000001").
TEST_F(WindowTest, ABoxShowsALongTextFromItsStart) {
    auto& ecu = Ecu("COM1");
    EcuState state = ecu.State();
    state.VinCp866 = "WVWZZZ1KZAW000001";
    ecu.SetState(state);
    Open();
    form->PageControl1->setCurrentIndex(3);
    form->Behaviour().Timer1Timer();
    QLineEdit& vin = *form->LabeledEdits[0];
    ASSERT_EQ(vin.text(), "WVWZZZ1KZAW000001");
    EXPECT_EQ(vin.cursorPosition(), 0);
}

// Fixed fault: with the port list focused, as it is at start, F4 also opened
// its drop-down.
TEST_F(WindowTest, F4TurnsToTheEcuInformationWithoutOpeningThePortList) {
    Ecu("COM1");
    Open();
    form->ComNumber->setFocus();
    QTest::keyClick(form->ComNumber, Qt::Key_F4);
    EXPECT_EQ(form->PageControl1->currentIndex(), 3);
    EXPECT_FALSE(form->ComNumber->view()->isVisible());
}

// --- Boxes and the memo ---

// Fixed fault: rewriting every box and the memo on every tick took the user's
// selection and scrolling away four times a second.
TEST_F(WindowTest, TicksKeepTheUsersSelectionAndScrollingButUndoTheirTyping) {
    auto& ecu = Ecu("COM1");
    Open();
    form->PageControl1->setCurrentIndex(3);
    form->Behaviour().Timer1Timer();
    QTest::keyClicks(form->MaskEdits[0], "1");
    ASSERT_NE(form->MaskEdits[0]->displayText(), " 932:4 ");
    form->LabeledEdits[0]->selectAll();
    form->Behaviour().Timer1Timer();
    EXPECT_EQ(form->LabeledEdits[0]->selectedText(), "X9L21230060123456");
    EXPECT_EQ(form->MaskEdits[0]->displayText(), " 932:4 ");

    std::array<std::uint8_t, 16> all;
    all.fill(0xFF);
    ecu.SetErrorBitmap(all);
    form->PageControl1->setCurrentIndex(2);
    form->Behaviour().Timer1Timer();
    QScrollBar* scroll = form->Memo1->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    form->Behaviour().Timer1Timer();
    EXPECT_GT(scroll->value(), 0);
    EXPECT_EQ(scroll->value(), scroll->maximum());
}

// --- The timer and closing ---

// The 220 ms count from the end of a tick. On the line: from the end of each
// block's reply to the next request, as the window's recording times them.
// A loaded machine only makes the gaps longer.
TEST_F(WindowTest, TheTimerTicksOnItsOwnNoSoonerThan220MsAfterATick) {
    Ecu("COM1");
    Open(folder / "line.rec");
    form->ADiag->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Panel(1) == "20"; }, 60000));
    EXPECT_EQ(Panel(0), "Сonnecting");
    form->ADiag->trigger();
    LineRecording recording;
    ASSERT_FALSE(ParseRecording(ReadBytes(folder / "line.rec"), recording).has_value());
    std::vector<std::uint64_t> gaps;
    const RecordedTransfer* reply = nullptr;  // of the last block read
    for (const RecordedTransfer& transfer : recording.Transfers) {
        if (transfer.What == RecordedTransfer::Kind::Read && transfer.Asked == 32) {
            reply = &transfer;
        } else if (transfer.What == RecordedTransfer::Kind::Write && reply) {
            gaps.push_back(transfer.Micros - reply->Micros);
            reply = nullptr;
        }
    }
    ASSERT_GE(gaps.size(), 20u);
    EXPECT_GE(*std::min_element(gaps.begin(), gaps.end()), 219'000u);
}

TEST_F(WindowTest, ClosingWhilePollingEndsTheSessionAndFreesThePort) {
    auto& ecu = Ecu("COM1");
    Open();
    StartPolling(ecu);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->Behaviour().Polling);
    form.reset();
    SerialPort other(folder.Path());
    EXPECT_TRUE(other.Open("COM1").Opened()) << "the window still holds the port";
}

}  // namespace
