#pragma once
// What the window's behaviour asks of a toolkit: the controls of the layout,
// by their place in it, and the timer. A view builds the controls, paints
// them, and hands the user's events to the behaviour; it keeps no rule of its
// own about what the window does. Every text is UTF-8.

#include <filesystem>
#include <string>
#include <vector>

#include "window/CounterText.h"
#include "window/TrendView.h"

class WindowView {
public:
    enum class Icon { None, Error };
    // Rows of each parameter list, one per slot of its set.
    static constexpr int ListRows = 16;
    // The caption of every message box.
    static constexpr const char* MessageCaption = "Error";
    enum class Action { ADiag, AResetErrors };

    virtual ~WindowView() = default;

    // --- Captions ---
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetActionCaption(Action action, const std::string& text) = 0;
    virtual void SetLanguageButtonCaption(const std::string& text) = 0;
    // TabSheet1 to TabSheet4: pages 0 to 3.
    virtual void SetPageCaption(int page, const std::string& text) = 0;
    // ListView1 is list 0, ListView2 list 1; columns 0 to 3.
    virtual void SetColumnHeader(int list, int column, const std::string& text) = 0;
    // The labels of the ECU information page, by box (see EcuTextLabel::Box):
    // those of LabeledEdit1 to LabeledEdit8, then Label1 to Label6.
    virtual void SetBoxLabel(int box, const std::string& text) = 0;

    // --- Contents ---
    // ComNumber: a name appended, and the entry shown (nothing when past the end).
    virtual void AddPortName(const std::string& name) = 0;
    virtual void SelectPort(int index) = 0;
    // The texts the ticks write go into their controls only when they differ
    // from what the control shows: a control given its own text again would be
    // painted anew at every tick, and a box or the memo would lose the user's
    // selection and scrolling.
    // A cell of a parameter list; every list has its ListRows rows from the start.
    void SetCell(int list, int row, int column, const std::string& text);
    // Memo1, whole: lines separated by '\n'.
    void SetMemoText(const std::string& text);
    // LabeledEdit1 to LabeledEdit8: boxes 0 to 7.
    void SetBoxText(int box, const std::string& text);
    // MaskEdit1 to MaskEdit6: counters 0 to 5, laid into their mask.
    void SetCounter(int counter, const CounterText& text);
    // The panels of StatusBar1, 0 to 2.
    void SetPanelText(int panel, const std::string& text);
    // The tip a panel shows under the mouse (none when empty).
    virtual void SetPanelTip(int panel, const std::string& tip) = 0;
    // The Value cells of a list drawn as stale (CellLook.h) or live again.
    virtual void SetListStale(int list, bool stale) = 0;
    // A Value cell drawn in the warning colour (its value out of range) or not.
    virtual void SetValueWarning(int list, int row, bool warning) = 0;

    // --- The trend window ---
    virtual TrendView& Trend() = 0;

    // --- Pages, timer, messages ---
    // The page PageControl1 shows, 0 to 3.
    virtual int ActivePage() const = 0;
    virtual void SetActivePage(int page) = 0;
    // Timer1, 220 ms: on fires once after the interval (the tick turns it on
    // again as its last step), off stops it.
    virtual void SetTimerEnabled(bool enabled) = 0;
    // A modal box captioned MessageCaption with one OK button and no owner
    // window; returns once closed.
    virtual void ShowMessage(const std::string& text, Icon icon) = 0;
    // A modal box captioned `caption` with the information icon, one OK
    // button and no owner window, for what went well; returns once closed.
    virtual void ShowNotice(const std::string& caption, const std::string& text) = 0;
    // Hands the file to the system's program for its kind (an HTML page to
    // the browser) and returns without waiting. A file that nothing opens is
    // left as it is: the behaviour says its path all the same.
    virtual void OpenFile(const std::filesystem::path& path) = 0;
    // The decimal separator of the user's regional settings.
    virtual std::string DecimalSeparator() const = 0;

protected:
    // --- The texts of the contents: what a control shows (the memo's lines
    // separated by '\n', a counter as its mask lays it out), and a new text put
    // into it ---
    virtual std::string ShownCell(int list, int row, int column) const = 0;
    virtual void PutCell(int list, int row, int column, const std::string& text) = 0;
    virtual std::string ShownMemo() const = 0;
    virtual void PutMemo(const std::string& text) = 0;
    virtual std::string ShownBox(int box) const = 0;
    virtual void PutBox(int box, const std::string& text) = 0;
    virtual std::string ShownCounter(int counter) const = 0;
    virtual void PutCounter(int counter, const CounterText& text) = 0;
    virtual std::string ShownPanel(int panel) const = 0;
    virtual void PutPanel(int panel, const std::string& text) = 0;
};
