#pragma once
// The window's behaviour on a scratch folder with the sample database.ini,
// its view a RecordingView, its ports those of an EcuBench: a typed suite runs
// every test once on scripted ports and, on POSIX systems, once on simulators
// over pseudo-terminals. Each file derives its suite from BehaviourTest and
// types it with EcuBenches (and EcuBenchNames).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "protocol/RequestFrame.h"
#include "session/EcuSession.h"
#include "support/EcuBench.h"
#include "support/RecordingView.h"
#include "support/ScratchFolder.h"
#include "window/WindowBehaviour.h"

template <typename Ecus>
class BehaviourTest : public ::testing::Test {
protected:
    BehaviourTest() {
        std::filesystem::copy_file(VMX_SOURCE_DIR "/data/database.ini", folder / "database.ini");
    }

    // Starts the window as the program does; it is then idle.
    WindowBehaviour& Open(const std::string& recordPath = {}) {
        WindowBehaviour::Options options;
        options.Directory = folder.Path();
        options.RecordPath = recordPath;
        window = std::make_unique<WindowBehaviour>(view, options, ecus.Port());
        return *window;
    }
    // Start on the page on view, with one tick that selects the set and reads the block.
    void StartPolling(const std::string& port = "COM1") {
        window->ADiagExecute();
        ASSERT_TRUE(window->Polling);
        window->Timer1Timer();
        ecus.ClearLog(port);
    }
    // One tick on `page` (as a click on its tab turns to it), and what it sent.
    std::vector<RequestFrame> Tick(int page, const std::string& port = "COM1") {
        if (page != view.Page) {
            view.Page = page;
            window->PageControl1Change();
        }
        ecus.ClearLog(port);
        window->Timer1Timer();
        return ecus.Frames(port);
    }
    std::vector<RequestFrame> Tick() { return Tick(view.Page); }
    EcuSession& Session() { return window->Session(); }
    // The files the window made in a subfolder of its working folder (logs,
    // reports), in the order of their names.
    std::vector<std::filesystem::path> FilesIn(const char* subfolder) const {
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(folder / subfolder))
            for (const auto& entry : std::filesystem::directory_iterator(folder / subfolder))
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    ScratchFolder folder;
    Ecus ecus{folder.Path()};
    RecordingView view;
    std::unique_ptr<WindowBehaviour> window;  // last, so that it goes before the ECUs
};

inline bool IsSelection(const RequestFrame& frame, int slot) {
    return frame.Bytes[1] == 0x85 && frame.Bytes[2] == slot;
}
