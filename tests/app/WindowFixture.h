#pragma once
// The Qt window on a scratch folder with the sample database.ini and
// dosdevices/ links to simulated ECUs (unpaced); message boxes recorded.

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "app/MainForm.h"
#include "app/StatusPanel.h"
#include "app/WindowMessages.h"
#include "sim/posix/EcuSimulator.h"
#include "support/ScratchFolder.h"

// Texts in failure messages as text, not as the bytes of their characters.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Whether some pixel of the area (its edges included) has the colour.
inline bool HasColour(const QImage& picture, const QRect& area, const QColor& colour) {
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (picture.pixelColor(x, y) == colour) return true;
    return false;
}

class RecordingMessages : public WindowMessages {
public:
    struct Message {
        QString Text;
        Icon Kind;
    };
    void Show(const QString& text, Icon icon) override { Messages.push_back({text, icon}); }
    void ShowNotice(const QString& caption, const QString& text) override {
        Notices.push_back({caption, text});
    }
    void OpenFile(const QString& path) override { Opened.push_back(path); }
    std::vector<Message> Messages;
    std::vector<std::pair<QString, QString>> Notices;  // caption, text
    std::vector<QString> Opened;
};

class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        std::filesystem::create_directories(folder / "dosdevices");
        std::filesystem::copy_file(VMX_SOURCE_DIR "/data/database.ini", folder / "database.ini");
    }

    // A simulated ECU behind the port of that name.
    EcuSimulator& Ecu(const std::string& name) {
        EcuSimulator::Options options;
        options.Paced = false;
        simulators.push_back(std::make_unique<EcuSimulator>(options));
        simulators.back()->CreateLink(folder / "dosdevices" / name);
        return *simulators.back();
    }

    // Records the line into `recording` when one is named.
    TMainForm& Open(const std::filesystem::path& recording = {}) {
        WindowBehaviour::Options options;
        options.Directory = folder.Path();
        options.RecordPath = recording.string();
        form = std::make_unique<TMainForm>(messages, options);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }
    // Start on the first page, with one tick that selects the set and reads the block.
    void StartPolling(EcuSimulator& ecu) {
        form->ADiag->trigger();
        ASSERT_TRUE(form->Behaviour().Polling);
        form->Behaviour().Timer1Timer();
        ecu.ClearLog();
    }

    QString Value(QTableWidget* list, int row) { return list->item(row, 2)->text(); }
    QString Panel(int i) { return form->Panels[i]->text(); }

    ScratchFolder folder;
    RecordingMessages messages;
    std::vector<std::unique_ptr<EcuSimulator>> simulators;
    std::unique_ptr<TMainForm> form;  // last, so that it goes before the simulators
};
