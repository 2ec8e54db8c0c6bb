#pragma once
// The tool's one window in Qt: the controls of the layout, each with its name
// as objectName, shown as the window's behaviour says, with the user's events
// handed to the behaviour. Nothing of what the window does is decided here.

#include <QMainWindow>
#include <array>
#include <memory>

#include "window/WindowBehaviour.h"
#include "window/WindowView.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolBar;
class QToolButton;
class StatusPanel;
class TrendForm;
class WindowMessages;

class TMainForm : public QMainWindow, private WindowView {
    Q_OBJECT

public:
    // Builds the controls and starts the behaviour (database.ini loaded, the
    // port found, the texts applied); the window is then idle until Start.
    // Throws what the behaviour's start-up throws.
    TMainForm(WindowMessages& messages, const WindowBehaviour::Options& options);
    // Ends the behaviour first: it writes the language back and closes the port.
    ~TMainForm() override;

    WindowBehaviour& Behaviour() { return *behaviour_; }

    // --- Controls ---
    QToolBar* ToolBar1 = nullptr;
    QComboBox* ComNumber = nullptr;
    QToolButton* Button1 = nullptr;
    QToolButton* Button2 = nullptr;
    QPushButton* LanguageBtn = nullptr;
    QTabWidget* PageControl1 = nullptr;
    std::array<QWidget*, WindowBehaviour::PageCount> TabSheets{};  // TabSheet1 to TabSheet4
    QTableWidget* ListView1 = nullptr;
    QTableWidget* ListView2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    std::array<QLineEdit*, 8> LabeledEdits{};  // LabeledEdit1 to LabeledEdit8
    std::array<QLabel*, 8> EditLabels{};       // their labels
    std::array<QLabel*, 6> Labels{};           // Label1 to Label6
    std::array<QLineEdit*, 6> MaskEdits{};     // MaskEdit1 to MaskEdit6
    QStatusBar* StatusBar1 = nullptr;
    std::array<StatusPanel*, 3> Panels{};  // the three panels of StatusBar1
    QAction* ADiag = nullptr;
    QAction* AResetErrors = nullptr;
    QAction* ALog = nullptr;     // F6
    QAction* ATrend = nullptr;   // F7
    QAction* AReport = nullptr;  // F9
    QTimer* Timer1 = nullptr;
    TrendForm* TrendWindow = nullptr;

protected:
    // FormCloseQuery: the behaviour allows closing.
    void closeEvent(QCloseEvent* event) override;
    // FormShortCut: every key press in the window, before the action shortcuts.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
    void BuildParameterPage(int page, QTableWidget*& list);
    void BuildErrorsPage();
    void BuildEcuInfoPage();
    void BuildStatusBar();
    void BuildTrendWindow();
    QTableWidget* ListOfPage(int page) const;

    WindowMessages& messages_;
    std::unique_ptr<WindowBehaviour> behaviour_;
};
