#pragma once
// The trend window: a second, resizable window beside the main one, with the
// rows of the set plotted to tick (up to four) in a list as wide as its
// longest name, the period, and the plot.
// What it shows and what a tick or pick does are the behaviour's; keys F5 to
// F8 act as in the main window through the actions it is given.

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

class TrendForm : public QWidget, public TrendView {
public:
    using Handlers = TrendHandlers;
    // A window of its own that goes with `owner`.
    TrendForm(QWidget* owner, Handlers handlers);

    // --- TrendView (window/TrendView.h) ---
    void SetTexts(const std::string& title, const std::string& rowsCaption,
                  const std::string& minute, const std::string& fiveMinutes) override;
    void SetRows(const std::vector<std::string>& names, const std::vector<bool>& chosen) override;
    void SetPeriod(int period) override;
    void Redraw() override;
    std::optional<TrendScreen> Screen() const override;
    void MoveTo(int x, int y) override;
    void Show() override;

    QLabel* RowsLabel = nullptr;
    QListWidget* Rows = nullptr;
    QComboBox* Period = nullptr;
    TrendPlotView* Plot = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RowsTicked();
    // The list, its caption and the period as wide as the widest of them
    // needs; the window grows or shrinks with them, so the plot keeps its room.
    void FitList();
    std::array<QWidget*, 3> SideWidgets() const;

    Handlers handlers_;
    int listWidth_ = 0;
};
