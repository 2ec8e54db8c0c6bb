#pragma once
// What the window's behaviour asks of a toolkit's trend window: a second,
// resizable window beside the main one, with the rows of the set to tick, the
// period, and the plot. Every text is UTF-8.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "window/TrendPicture.h"

// Where the windows stand, in the screen's pixels, their frames included.
struct TrendScreen {
    TrendArea Owner;  // the main window
    int Width = 0;    // the trend window
    int Height = 0;
    TrendArea WorkArea;  // of the main window's screen
    int Gap = 8;         // between the two windows
};

class TrendView {
public:
    virtual ~TrendView() = default;

    // Its title, the caption of its list, and the two periods to pick from.
    virtual void SetTexts(const std::string& title, const std::string& rowsCaption,
                          const std::string& minute, const std::string& fiveMinutes) = 0;
    // The rows of the page on view to pick from, the chosen ones ticked.
    virtual void SetRows(const std::vector<std::string>& names,
                         const std::vector<bool>& chosen) = 0;
    // The period picked: 0 a minute, 1 five minutes.
    virtual void SetPeriod(int period) = 0;
    // The plot is to be drawn anew (from WindowBehaviour::TrendPlot) while
    // the window is shown.
    virtual void Redraw() = 0;
    // The windows' places; nothing while the main window is on no screen.
    virtual std::optional<TrendScreen> Screen() const = 0;
    // Moves the window's frame to (x, y) of the screen.
    virtual void MoveTo(int x, int y) = 0;
    // Shows it in front of the others.
    virtual void Show() = 0;

    // --- The log viewer (window/LogWindow.h) ---
    // The button that opens a log (Ctrl+O too), and the one back to the live
    // trend, hidden when `back` is empty; the period only with `live`.
    virtual void SetLogControls(const std::string& open, const std::string& back, bool live) = 0;
    // The toolkit's dialog to pick a file to open, in `folder`, its title
    // and its filter ("Logs (*.csv)"); nothing when it was cancelled.
    virtual std::optional<std::filesystem::path> AskLogFile(
        const std::string& title, const std::string& filter,
        const std::filesystem::path& folder) = 0;
    // A modal box over the window, captioned "Error", with one OK button.
    virtual void ShowLogMessage(const std::string& text) = 0;
};
