#pragma once
// The trend window: a second, resizable window beside the main one, with the
// rows of the set plotted to tick (up to four) in a list as wide as its
// longest name, the period, and the plot.
// What it shows and what a tick or pick does are the behaviour's; keys F5 to
// F8 act as in the main window through the actions it is given. Below the
// list, the log viewer's buttons; its keys go to the viewer first, wherever
// the focus is in the window.

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/TrendPlotView.h"
#include "window/TrendHandlers.h"
#include "window/TrendView.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class WindowMessages;

class TrendForm : public QWidget, public TrendView {
public:
    using Handlers = TrendHandlers;
    // A window of its own that goes with `owner`, or alone without one.
    // Its boxes go to `messages`.
    TrendForm(QWidget* owner, Handlers handlers, WindowMessages& messages);

    // --- TrendView (window/TrendView.h) ---
    void SetTexts(const std::string& title, const std::string& rowsCaption,
                  const std::string& minute, const std::string& fiveMinutes) override;
    void SetRows(const std::vector<std::string>& names, const std::vector<bool>& chosen) override;
    void SetPeriod(int period) override;
    void Redraw() override;
    std::optional<TrendScreen> Screen() const override;
    void MoveTo(int x, int y) override;
    void Show() override;
    void SetLogControls(const std::string& open, const std::string& back, bool live) override;
    std::optional<std::filesystem::path> AskLogFile(const std::string& title,
                                                    const std::string& filter,
                                                    const std::filesystem::path& folder) override;
    void ShowLogMessage(const std::string& text) override;

    // The file dialog, in place of QFileDialog when set (tests answer it).
    std::function<std::optional<std::filesystem::path>()> PickLogFile;

    QLabel* RowsLabel = nullptr;
    QListWidget* Rows = nullptr;
    QComboBox* Period = nullptr;
    TrendPlotView* Plot = nullptr;
    QPushButton* OpenLog = nullptr;
    QPushButton* BackToLive = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RowsTicked();
    // The list, its caption and the period as wide as the widest of them
    // needs; the window grows or shrinks with them, so the plot keeps its room.
    void FitList();
    std::array<QWidget*, 5> SideWidgets() const;

    Handlers handlers_;
    WindowMessages& messages_;
    int listWidth_ = 0;
};
