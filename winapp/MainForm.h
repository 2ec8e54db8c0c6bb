#pragma once
// The tool's one window on the Win32 API and the common controls: the
// controls of the layout, shown as the window's behaviour says, with the
// user's events handed to the behaviour. Nothing of what the window does is
// decided here. Every text goes to the system as UTF-16.

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "window/WindowBehaviour.h"
#include "window/WindowView.h"

class TrendForm;

class TMainForm : private WindowView {
public:
    // Registers the window classes, builds the window and its controls
    // (hidden) and starts the behaviour: database.ini loaded, the port found,
    // the texts applied. Throws what the behaviour's start-up throws.
    TMainForm(HINSTANCE instance, const WindowBehaviour::Options& options);
    // Ends the behaviour first (the language written back, the port closed).
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    void Show(int showCommand);
    // Runs the message loop until the window is closed (or the thread is told
    // to quit); returns the program's exit code.
    int Run();

    WindowBehaviour& Behaviour() { return *behaviour_; }

private:
    // The controls by the layout's names; the lists and the memo are the
    // pages' (TabSheet1 to TabSheet4 are windows of their own, see Pages).
    struct Controls {
        HWND MainForm = nullptr;
        HWND ComNumber = nullptr, Button1 = nullptr, Button2 = nullptr, LanguageBtn = nullptr;
        HWND PageControl1 = nullptr;
        std::array<HWND, WindowBehaviour::PageCount> TabSheets{};
        std::array<HWND, 2> Lists{};  // ListView1, ListView2
        HWND Memo1 = nullptr;
        HWND GroupBox1 = nullptr, GroupBox2 = nullptr;
        std::array<HWND, 8> LabeledEdits{}, EditLabels{};
        std::array<HWND, 6> Labels{}, MaskEdits{};
        HWND StatusBar1 = nullptr;
    };
    struct Fonts {
        HFONT Window = nullptr;  // "MS Sans Serif", 11 pixels at 96 dpi
        HFONT Page = nullptr;    // "Times New Roman" bold, 16 pixels: the lists and the memo
        HFONT Cell = nullptr;    // the same in 12 points: the lists' other columns
        HFONT Value = nullptr;   // the same in 14 points: the Value column
        HFONT Rows = nullptr;    // the lists' own: small, so that the rows keep their height
    };

    // --- Events (MainForm.cpp) ---
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    // FormShortCut: every key press in the window reaches the behaviour before
    // any control. True when the key is taken (as an action's shortcut).
    bool PreTranslate(const MSG& message);
    void Command(int id, int code);
    LRESULT Notify(const NMHDR& header, LPARAM l);
    // FormCloseQuery, then the behaviour's end; false when closing is refused.
    bool CloseQuery();
    void ShowPage(int page);

    // --- The view (MainFormView.cpp) ---
    void SetTitle(const std::string& text) override;
    void SetActionCaption(Action action, const std::string& text) override;
    void SetLanguageButtonCaption(const std::string& text) override;
    void SetPageCaption(int page, const std::string& text) override;
    void SetColumnHeader(int list, int column, const std::string& text) override;
    void SetBoxLabel(int box, const std::string& text) override;
    void AddPortName(const std::string& name) override;
    void SelectPort(int index) override;
    void SetListStale(int list, bool stale) override;
    void SetValueWarning(int list, int row, bool warning) override;
    void SetPanelTip(int panel, const std::string& tip) override;
    TrendView& Trend() override;
    int ActivePage() const override;
    void SetActivePage(int page) override;
    void SetTimerEnabled(bool enabled) override;
    void ShowMessage(const std::string& text, Icon icon) override;
    void ShowNotice(const std::string& caption, const std::string& text) override;
    void OpenFile(const std::filesystem::path& path) override;
    std::string DecimalSeparator() const override;
    std::string ShownCell(int list, int row, int column) const override;
    void PutCell(int list, int row, int column, const std::string& text) override;
    std::string ShownMemo() const override;
    void PutMemo(const std::string& text) override;
    std::string ShownBox(int box) const override;
    void PutBox(int box, const std::string& text) override;
    std::string ShownCounter(int counter) const override;
    void PutCounter(int counter, const CounterText& text) override;
    std::string ShownPanel(int panel) const override;
    void PutPanel(int panel, const std::string& text) override;

    // --- The layout (MainFormLayout.cpp) ---
    void BuildLayout();
    void BuildToolBar();
    void BuildPages();
    void BuildParameterList(int list);
    void BuildErrorsPage();
    void BuildEcuInfoPage();
    void BuildStatusBar();
    void BuildTrendWindow();
    void CreateFonts();
    // Layout pixels (at 96 dots per inch) in the display's pixels.
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    HWND Child(HWND parent, const wchar_t* type, DWORD style, int x, int y, int width, int height,
               int id = 0, DWORD extendedStyle = 0);

    // A panel of the status bar, painted from panels_ (MainFormView.cpp).
    void PaintPanel(const DRAWITEMSTRUCT& draw) const;
    // A label of the ECU information page, right-aligned (MainFormView.cpp).
    void PaintLabel(const DRAWITEMSTRUCT& draw) const;
    // ComNumberChange with the entry of ComNumber that the user picked.
    void PickPort(int index);
    // A cell's text, asked for by its list as it paints (MainFormView.cpp).
    void CellText(NMLVDISPINFOW& request) const;
    // The cell's rectangle marked for the next painting.
    void InvalidateCell(int list, int row, int column) const;
    // ListView1CustomDrawSubItem: the colours and fonts of each cell (ListCellDraw.cpp).
    LRESULT ListView1CustomDrawSubItem(NMLVCUSTOMDRAW& draw) const;

    HINSTANCE instance_;
    int dpi_ = 96;
    Controls controls_;
    Fonts fonts_;
    HBRUSH buttonFace_ = nullptr;
    // What each cell shows: the list asks for it as it paints.
    std::array<std::array<std::array<std::wstring, 4>, WindowView::ListRows>, 2> cells_;
    std::array<std::wstring, 3> panels_;
    std::array<bool, 2> stale_{};  // the lists whose values are stale
    // The Value cells whose values are out of range.
    std::array<std::array<bool, WindowView::ListRows>, 2> warnings_{};
    HWND panelTips_ = nullptr;  // the tool tip of the status bar's panels
    // The entry of ComNumber whose port is in use: what the box shows once
    // its list is closed.
    int portIndex_ = -1;
    // Built and started: from then on the window's end ends the message loop.
    bool started_ = false;
    std::unique_ptr<TrendForm> trend_;
    std::unique_ptr<WindowBehaviour> behaviour_;
};
