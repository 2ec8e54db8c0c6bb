// The log viewer in the Qt window: a log written by F6 opened from the trend
// window shows its curve, and a click puts the cursor on a row whose values
// are the log's; `--open-log` shows it alone, with no main window and not a
// byte to the ECU.

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "WindowFixture.h"
#include "app/CellColourQt.h"
#include "app/Program.h"
#include "app/TrendForm.h"
#include "window/LogWindow.h"
#include "window/TrendPlot.h"

namespace {

TEST_F(WindowTest, ALogOfF6OpensInTheTrendWindowAndItsCursorReadsTheLogsValues) {
    auto& ecu = Ecu("COM1");
    Open();
    StartPolling(ecu);
    QTest::keyClick(form.get(), Qt::Key_F6);
    for (int tick = 0; tick < 5; ++tick) form->Behaviour().Timer1Timer();
    QTest::keyClick(form.get(), Qt::Key_F6);
    QTest::keyClick(form.get(), Qt::Key_F7);
    TrendForm* trend = form->TrendWindow;
    ASSERT_TRUE(trend->isVisible());
    EXPECT_FALSE(trend->BackToLive->isVisible());
    std::filesystem::path written;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "logs"))
        written = entry.path();
    trend->PickLogFile = [&] { return std::optional<std::filesystem::path>(written); };
    trend->OpenLog->click();
    const LogWindow& log = form->Behaviour().TrendLog();
    ASSERT_TRUE(log.Showing());
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_TRUE(trend->BackToLive->isVisible());
    EXPECT_FALSE(trend->Period->isVisible());
    EXPECT_EQ(trend->Rows->item(0)->checkState(), Qt::Checked);
    ASSERT_EQ(log.Table().Rows(), 5u);

    // The curves in their colours; a click in the middle puts the cursor on
    // the middle row, and the legend reads the log's value there.
    QApplication::processEvents();
    const QImage before = trend->Plot->grab().toImage();
    EXPECT_TRUE(HasColour(before, before.rect(), QtColour(TrendColour(0))));
    QTest::mouseClick(trend->Plot, Qt::LeftButton, {}, QPoint(trend->Plot->width() / 2, 100));
    ASSERT_TRUE(log.Cursor());
    const LogRow row = *log.Cursor();
    const TrendPicture picture =
        form->Behaviour().TrendPlot(trend->Plot->width(), trend->Plot->height());
    const auto says = [&](const std::string& text) {
        return std::any_of(picture.Labels.begin(), picture.Labels.end(), [&](const TrendText& t) {
            return t.Text.find(text) != std::string::npos;
        });
    };
    const auto value = static_cast<int>(log.Table().Columns()[0].Values[row]);
    EXPECT_TRUE(says("NMOT  0 .. 3000   = " + std::to_string(value)));
    const QImage after = trend->Plot->grab().toImage();
    EXPECT_TRUE(HasColour(after, after.rect(), QColor(255, 255, 255)));  // the cursor
    // The arrows reach the viewer before the list.
    trend->Rows->setFocus();
    QTest::keyClick(trend->Rows, row > 0 ? Qt::Key_Left : Qt::Key_Right);
    EXPECT_EQ(log.Cursor(), row > 0 ? row - 1 : row + 1);

    // The window polls on meanwhile; back to live, the trend is there again.
    ecu.ClearLog();
    form->Behaviour().Timer1Timer();
    EXPECT_FALSE(ecu.ReceivedFrames().empty());
    trend->BackToLive->click();
    EXPECT_FALSE(log.Showing());
    EXPECT_FALSE(trend->BackToLive->isVisible());
    EXPECT_TRUE(trend->Period->isVisible());
    trend->close();
    form->close();
}

// The program's way in for --open-log, in this process: the viewer's window
// is looked at and closed from the loop it runs.
TEST_F(WindowTest, TheViewerAloneShowsTheLogWithoutTheMainWindowOrAPort) {
    auto& ecu = Ecu("COM1");
    WriteBytes(folder / "drive.csv",
               "time,NMOT [rpm],TL [%]\n2026-12-08T10:00:00.000,800,1\n"
               "2026-12-08T10:00:01.000,2900,2\n2026-12-08T10:00:02.000,1200,3\n");
    // A bad "Address" would stop the window; the viewer reads past it.
    WriteBytes(folder / "database.ini",
               "[0000]\r\nCodeEn=NMOT\r\nAddress=XYZ\r\nMin=0\r\nMax=3000\r\n");
    bool shown = false, mainWindow = false, curve = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            mainWindow = mainWindow || dynamic_cast<TMainForm*>(widget);
            auto* viewer = dynamic_cast<TrendForm*>(widget);
            if (!viewer || !viewer->isVisible()) continue;
            shown = true;
            const QImage plot = viewer->Plot->grab().toImage();
            curve = HasColour(plot, plot.rect(), QtColour(TrendColour(0)));
            viewer->close();
        }
    });
    look.start(50);
    EXPECT_EQ(RunLogViewer(messages, folder.Path(), folder / "drive.csv"), 0);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(curve);
    EXPECT_FALSE(mainWindow);
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_TRUE(ecu.ReceivedFrames().empty());

    // A file that is no log: one box, and no window.
    WriteBytes(folder / "notes.txt", "just some notes\n");
    EXPECT_EQ(RunLogViewer(messages, folder.Path(), folder / "notes.txt"), 1);
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_TRUE(messages.Messages[0].Text.contains("notes.txt"));
    EXPECT_TRUE(messages.Messages[0].Text.contains("just some notes"));
}

}  // namespace
