#pragma once
// The trend window on Win32: a second, resizable window owned by the main
// one, with the rows of the set plotted to tick (up to four) in a list as
// wide as its longest name, the period, and the plot, drawn with GDI into a
// back buffer. What it shows and what a tick or pick does are the
// behaviour's; the main window's message loop gives it F5 to F9. Below the
// list, the log viewer's buttons; the viewer's keys and the wheel go to it
// first, wherever the focus is in the window (TakeMessage).

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window/TrendCanvas.h"
#include "window/TrendHandlers.h"
#include "window/TrendPicture.h"
#include "window/TrendView.h"

class TrendForm : public TrendView {
public:
    using Handlers = TrendHandlers;
    // Made hidden; `dpi` scales its sizes as the main window's. Without an
    // owner, it is the log viewer alone.
    TrendForm(HINSTANCE instance, HWND owner, int dpi, Handlers handlers);
    ~TrendForm() override;
    TrendForm(const TrendForm&) = delete;
    TrendForm& operator=(const TrendForm&) = delete;

    // --- TrendView (window/TrendView.h) ---
    void SetTexts(const std::string& title, const std::string& rowsCaption,
                  const std::string& minute, const std::string& fiveMinutes) override;
    void SetRows(const std::vector<std::string>& names, const std::vector<bool>& chosen) override;
    void SetPeriod(int period) override;
    // What differs in the plot is painted anew, if the window is shown.
    void Redraw() override;
    std::optional<TrendScreen> Screen() const override;
    void MoveTo(int x, int y) override;
    void Show() override;
    void SetLogControls(const std::string& open, const std::string& back, bool live) override;
    std::optional<std::filesystem::path> AskLogFile(const std::string& title,
                                                    const std::string& filter,
                                                    const std::filesystem::path& folder) override;
    void ShowLogMessage(const std::string& text) override;

    // A key or a turn of the wheel in the window that the log viewer takes:
    // true when it took it, and the message is to go no further.
    bool TakeMessage(const MSG& message);
    // The message loop of the viewer alone, until its window is closed.
    int RunAlone();

    // The window or one of its controls.
    bool Contains(HWND window) const;
    HWND Handle() const { return form_; }

private:
    static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK PlotProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(HWND window, UINT message, WPARAM w, LPARAM l);
    void Layout();
    // The list as wide as its widest row needs, the window as much wider or
    // narrower, so the plot keeps its room.
    void FitList();
    void RowsTicked();
    void PaintPlot();
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    HINSTANCE instance_;
    HWND owner_;
    int dpi_;
    Handlers handlers_;
    TrendCanvas canvas_;
    HWND form_ = nullptr, label_ = nullptr, rows_ = nullptr, period_ = nullptr, plot_ = nullptr;
    HWND open_ = nullptr, back_ = nullptr;
    HFONT font_ = nullptr;
    int listWidth_ = 0;         // in pixels
    bool settingRows_ = false;  // the rows are set by the behaviour, not ticked
    bool live_ = true;          // the period shows
    bool backShown_ = false;    // the button back to live
};
