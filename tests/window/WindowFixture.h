#pragma once
// A window on a scratch folder with the sample database.ini and dosdevices/
// links to simulated ECUs (unpaced) or silent lines; message boxes recorded.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <memory>
#include <ostream>
#include <vector>

#include "app/MainForm.h"
#include "app/WindowMessages.h"
#include "sim/EcuSimulator.h"
#include "support/ScratchFolder.h"

// Texts in failure messages as text, not as the bytes of their characters.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class RecordingMessages : public WindowMessages {
public:
    struct Message {
        QString Text;
        Icon Kind;
    };
    void Show(const QString& text, Icon icon) override { Messages.push_back({text, icon}); }
    std::vector<Message> Messages;
};

class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        std::filesystem::create_directories(folder / "dosdevices");
        std::filesystem::copy_file(VMX_SOURCE_DIR "/data/database.ini", folder / "database.ini");
    }

    void Link(const std::string& name, const std::string& device) {
        std::filesystem::remove(folder / "dosdevices" / name);
        std::filesystem::create_symlink(device, folder / "dosdevices" / name);
    }
    // A simulated ECU behind the port of that name.
    EcuSimulator& Ecu(const std::string& name) {
        EcuSimulator::Options options;
        options.Paced = false;
        simulators.push_back(std::make_unique<EcuSimulator>(options));
        Link(name, simulators.back()->DevicePath());
        return *simulators.back();
    }

    TMainForm& Open() {
        form = std::make_unique<TMainForm>(messages, folder.Path());
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }
    // Start on the first page, with one tick that selects the set and reads the block.
    void StartPolling(EcuSimulator& ecu) {
        form->ADiag->trigger();
        ASSERT_TRUE(form->Polling);
        form->Timer1Timer();
        ecu.ClearLog();
    }

    QString Value(QTableWidget* list, int row) { return list->item(row, 2)->text(); }
    int FilledValues(QTableWidget* list) {
        int filled = 0;
        for (int row = 0; row < list->rowCount(); ++row) filled += !Value(list, row).isEmpty();
        return filled;
    }
    QString Panel(int i) { return form->Panels[i]->text(); }

    ScratchFolder folder;
    RecordingMessages messages;
    std::vector<std::unique_ptr<EcuSimulator>> simulators;
    std::unique_ptr<TMainForm> form;  // last, so that it goes before the simulators
};
