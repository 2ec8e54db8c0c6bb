#pragma once
// The tool's one window: it owns the session with the ECU, finds the port on
// which the ECU answers, and while polling is on sends the requests of the
// page on view once per tick of Timer1, 220 ms after the end of the last one.
// Controls and handlers bear the names of the window's layout, and each
// control has its name as objectName.

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "database/EcuSession.h"
#include "lang/Lang.h"

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
class WindowMessages;

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int TickMs = 220;
    static constexpr int PageCount = 4;

    // Loads database.ini of `directory` (its dosdevices/ names the ports),
    // finds the port on which the ECU answers and applies the language; the
    // window is then idle until Start. Throws ConversionError when an
    // "Address" of database.ini is not hexadecimal.
    explicit TMainForm(WindowMessages& messages,
                       const std::filesystem::path& directory = std::filesystem::current_path());
    // Destroys the session first: it writes the language back and closes the port.
    ~TMainForm() override;

    // --- Handlers ---
    void ComNumberChange();
    void ADiagExecute();
    void Timer1Timer();
    void PageControl1Change();
    // Every key press in the window, before the shortcuts of the actions.
    void FormShortCut(int key);
    void AResetErrorsExecute();
    void LanguageBtnClick();

    // --- Window operations ---
    void ApplyLanguage();
    void PollLiveData();
    void ShowLiveValues();
    void PollErrors();
    void PollEcuInfo();

    EcuSession& Session() { return *session_; }
    // A text of the window in the current language.
    QString Text(Lang::Entry entry) const;

    bool Polling = false;
    bool LinkOk = false;
    int CurrentPage = 0;
    std::int32_t ReadCount = 0;  // shown in panel 1 by each live-data update
    const QString Title;

    // --- Controls ---
    QToolBar* ToolBar1 = nullptr;
    QComboBox* ComNumber = nullptr;
    QToolButton* Button1 = nullptr;
    QToolButton* Button2 = nullptr;
    QPushButton* LanguageBtn = nullptr;
    QTabWidget* PageControl1 = nullptr;
    std::array<QWidget*, PageCount> TabSheets{};  // TabSheet1 to TabSheet4
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
    std::array<QLabel*, 3> Panels{};  // the three panels of StatusBar1
    QAction* ADiag = nullptr;
    QAction* AResetErrors = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    // FormCloseQuery: closing is always allowed and switches polling off.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void BuildToolBar();
    void BuildParameterPage(int page, QTableWidget*& list);
    void BuildErrorsPage();
    void BuildEcuInfoPage();
    void BuildStatusBar();
    void DetectPort();
    void BuildRows();
    void SetTimerEnabled(bool enabled);
    QTableWidget* ListOfPage(int page) const;

    WindowMessages& messages_;
    std::unique_ptr<EcuSession> session_;
};
