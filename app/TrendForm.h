#pragma once
// The trend window: a second, resizable window beside the main one, with the
// rows of the set plotted to tick (up to four) in a list as wide as its
// longest name, the period, and the plot.
// What it shows and what a tick or pick does are the behaviour's; keys F5 to
// F8 act as in the main window through the actions it is given.

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/TrendPlotView.h"
#include "window/TrendHandlers.h"

class QComboBox;
class QLabel;
class QListWidget;

class TrendForm : public QWidget {
public:
    using Handlers = TrendHandlers;
    // A window of its own that goes with `owner`.
    TrendForm(QWidget* owner, Handlers handlers);

    void SetTexts(const std::string& title, const std::string& rowsCaption,
                  const std::string& minute, const std::string& fiveMinutes);
    void SetRows(const std::vector<std::string>& names, const std::vector<bool>& chosen);
    void SetPeriod(int period);
    // Shows the window in front; the first time beside `owner` where the
    // screen has room, else where it hides least of it (window/TrendPlacement.h).
    void ShowBeside(const QWidget& owner);

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
    bool placed_ = false;
};
