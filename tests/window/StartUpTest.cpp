// The window's start-up: its controls, the port on which the ECU answers, and
// what the user is told when none does or database.ini cannot be read.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "WindowFixture.h"
#include "app/Program.h"
#include "support/PtyPair.h"

namespace {

using Icon = WindowMessages::Icon;

// --- Port detection ---

TEST_F(WindowTest, TheEcuOnTheThirdPortIsSelectedAndTheLaterPortsAreNotListed) {
    PtyPair silent1, silent2, later;
    Link("COM1", silent1.Device());
    Link("COM2", silent2.Device());
    Ecu("COM3");
    Link("COM4", later.Device());
    Open();
    ASSERT_EQ(form->ComNumber->count(), 3);
    EXPECT_EQ(form->ComNumber->currentIndex(), 2);
    EXPECT_TRUE(form->Session().IsOpen());
    EXPECT_EQ(form->Session().Name(), "COM3");
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_FALSE(form->Timer1->isActive());  // idle until Start
}

TEST_F(WindowTest, WithoutAnEcuEveryPortIsListedTheFirstOpenedAndTheUserTold) {
    PtyPair silent1, silent2;
    Link("COM1", silent1.Device());
    Link("COM2", silent2.Device());
    Open();
    EXPECT_EQ(form->ComNumber->count(), 2);
    EXPECT_EQ(form->ComNumber->currentIndex(), 0);
    EXPECT_EQ(form->Session().Name(), "COM1");
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].Text, "No connecting.");
    EXPECT_EQ(messages.Messages[0].Kind, Icon::Error);
}

TEST_F(WindowTest, StartWithNoPortOnlySetsTheCaption) {
    Open();  // dosdevices/ is empty: no ports
    EXPECT_EQ(messages.Messages.size(), 1u);
    form->ADiag->trigger();
    EXPECT_FALSE(form->Polling);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->ADiag->text(), "Старт F5");
}

TEST_F(WindowTest, AnUnconvertibleAddressEndsTheProgramWithItsMessage) {
    WriteBytes(folder / "database.ini", "[0003]\r\nAddress=12G4\r\n");
    EXPECT_NE(RunMainForm(messages, folder.Path()), 0);
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].Text, "'0x12G4' is not a valid integer value");
    EXPECT_EQ(messages.Messages[0].Kind, Icon::Error);
}

// --- The layout ---

TEST_F(WindowTest, ControlsHaveTheLayoutsNamesAndPlaces) {
    Open();
    EXPECT_EQ(form->size(), QSize(592, 455));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
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
    EXPECT_EQ(form->StatusBar1->height(), 19);
    const int panelWidths[] = {200, 200, 50};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(form->Panels[i]->width(), panelWidths[i]);
    EXPECT_EQ(form->Timer1->interval(), 220);
    const int columnWidths[] = {100, 300, 80, 100};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(form->ListView2->columnWidth(column), columnWidths[column]);
    // Sixteen rows, every one in view.
    ASSERT_EQ(form->ListView1->rowCount(), 16);
    EXPECT_LE(form->ListView1->visualItemRect(form->ListView1->item(15, 0)).bottom(),
              form->ListView1->viewport()->height());
    EXPECT_EQ(form->MaskEdits[5]->displayText(), "    :  ");
}

}  // namespace
