#pragma once
// The log viewer in the trend window, the same in either toolkit: a CSV log
// the tool wrote (window/LogReader.h) plotted as the live trend is, up to
// four of its columns in their colours and on their scales, with a cursor
// that reads every chosen column at one row. Opened from the trend window
// ("Open log…", Ctrl+O), where "Back to live" returns to the live trend, or
// alone by `vmxdiag --open-log FILE`, without the main window and without a
// port.
//
// The whole log shows first; the wheel and + / - zoom in and out, a drag,
// Ctrl+Left / Ctrl+Right, Home and End move along it; a click, Left and
// Right put the cursor on a row. The file is read at once, on the window's
// thread: a main window that is open polls on after it.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "window/LogDefinitions.h"
#include "window/LogExtremes.h"
#include "window/LogTable.h"
#include "window/TrendPicture.h"
#include "window/TrendView.h"

// Virtual-key codes of the keys the viewer knows.
namespace LogKey {
constexpr int End = 0x23, Home = 0x24, Left = 0x25, Right = 0x27;
constexpr int O = 0x4F;
constexpr int Add = 0x6B, Subtract = 0x6D;  // on the number pad
constexpr int Plus = 0xBB, Minus = 0xBD;    // beside the digits
}  // namespace LogKey

class LogWindow {
public:
    // `folder` holds logs/, where the file dialog starts; `alone`: there is
    // no live trend to go back to.
    LogWindow(TrendView& view, std::filesystem::path folder, LogDefinitions definitions,
              std::string decimalSeparator, bool alone);

    // A log is on view.
    bool Showing() const { return table_ != nullptr; }
    // The button or Ctrl+O: the file dialog, then the log picked.
    void AskAndOpen();
    // Reads `path`; a file that is no log, or cannot be read, is said in a
    // box and leaves the window as it was. Rows skipped are said once it shows.
    bool Open(const std::filesystem::path& path);
    // "Back to live": the log goes; the live trend is the caller's to show.
    void Close();
    // The texts in the language (0 Russian, 1 English), the log's anew.
    void SetLanguage(std::uint8_t language);
    // The buttons of the mode: both while a log shows from the main window.
    void ShowControls();

    // The window's events while a log shows; false for a key it does not take.
    bool Key(int virtualKey, bool control);
    void Wheel(int steps, int x);  // steps > 0: in, around pixel x
    void Press(int x);
    void Drag(int x);
    void Release(int x);  // a press and release where it began is a click
    void RowsChosen(const std::vector<int>& rows);
    TrendPicture Plot(int width, int height);

    // What is on view, for tests and the benchmark.
    const LogTable& Table() const { return *table_; }
    LogSpan Span() const { return span_; }
    void SetSpan(LogSpan span);
    const std::vector<int>& Chosen() const { return chosen_; }
    std::optional<LogRow> Cursor() const { return cursor_; }

private:
    struct Geometry {
        int Left = 0, Right = 1;  // of the plot, in pixels
    };
    std::string Text(std::size_t entry) const;
    std::string NoLogText(const std::filesystem::path& path, const struct LogFileRead& read) const;
    void ShowLog();
    void ShowRows();
    void Zoom(double factor, LogMillis around);
    void Move(LogMillis by);
    void PutCursor(LogRow row);
    LogMillis AxisAt(int x) const;

    TrendView& view_;
    std::filesystem::path folder_;
    LogDefinitions definitions_;
    std::string separator_;
    bool alone_;
    std::uint8_t language_;
    std::filesystem::path path_;
    std::unique_ptr<LogTable> table_;
    std::unique_ptr<LogIndex> index_;
    std::vector<int> chosen_;
    LogSpan span_;
    std::optional<LogRow> cursor_;
    Geometry geometry_;
    std::optional<int> pressedAt_, draggedFrom_;
    bool dragged_ = false;
};

// The viewer alone (`vmxdiag --open-log FILE`) in `view`: the names, units
// and ranges of database.ini in `folder`, which is only read, and the log
// `file` opened. Null when the file is no log, which a box has said then.
std::unique_ptr<LogWindow> OpenLogAlone(TrendView& view, const std::filesystem::path& folder,
                                        const std::filesystem::path& file,
                                        std::string decimalSeparator);
