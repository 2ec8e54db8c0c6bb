// Start-up, port detection and the handlers of the window: Start/Stop, the
// tick, page changes and keys, the port change, clearing the error memory,
// the language switch and closing.

#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "app/QtText.h"
#include "app/WindowMessages.h"
#include "protocol/ErrorClearing.h"
#include "protocol/LineRecovery.h"
#include "protocol/PortDetection.h"

namespace {

// Status panel 2: the keys that turn the pages.
constexpr const char* NoticeText = "F1 - F4";

// The control or one of its parents is the window (the drop-down list of a
// combo box is a window of its own, but a child of the combo box).
bool IsInWindow(const QObject* object, const QWidget* window) {
    for (auto* widget = qobject_cast<const QWidget*>(object); widget;
         widget = widget->parentWidget())
        if (widget == window) return true;
    return false;
}

}  // namespace

TMainForm::TMainForm(WindowMessages& messages, const std::filesystem::path& directory)
    : Title(QStringLiteral("Diag VMX-4410 v.1.06")), messages_(messages) {
    BuildLayout();
    setWindowTitle(Title);
    Panels[2]->setText(QString::fromUtf8(NoticeText));
    Polling = false;
    CurrentPage = 0;
    session_ = std::make_unique<EcuSession>(messages_, directory);
    DetectPort();
    // Every widget paints through the window's back buffer, so the lists and
    // the memo need no double-buffering of their own.
    ApplyLanguage();

    connect(ComNumber, &QComboBox::activated, this, &TMainForm::ComNumberChange);
    connect(ADiag, &QAction::triggered, this, &TMainForm::ADiagExecute);
    connect(AResetErrors, &QAction::triggered, this, &TMainForm::AResetErrorsExecute);
    connect(LanguageBtn, &QPushButton::clicked, this, &TMainForm::LanguageBtnClick);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TMainForm::PageControl1Change);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    qApp->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    Timer1->stop();
    // Ending the session may show a message box, whose event loop must not
    // reach a handler that uses the session.
    setEnabled(false);
    session_.reset();
}

QString TMainForm::Text(Lang::Entry entry) const {
    return FromUtf8(LangText[session_->LanguageIndex][entry]);
}

// Each port in list order is opened and probed; the first that answers stays
// open and selected, and the ports after it are not listed.
void TMainForm::DetectPort() {
    const PortDetection detection = ::DetectPort(*session_, *session_, [this](const PortProbe& p) {
        ComNumber->addItem(QString::fromStdString(p.Name));
    });
    if (detection.Answered) {
        ComNumber->setCurrentIndex(static_cast<int>(*detection.Answered));
        return;
    }
    ComNumber->setCurrentIndex(0);
    messages_.Show(QString::fromUtf8(Lang::NoConnectingMessage), WindowMessages::Icon::Error);
    // The window stays usable on the first port: the user may pick another.
    if (!session_->PortNames().empty()) session_->Open(session_->PortNames().front());
}

// A running cycle goes on with the new port at the next tick; on a parameter
// page it selects nothing there until the link flag is cleared.
void TMainForm::ComNumberChange() {
    session_->Close();
    session_->Open(ComNumber->currentText().toStdString());
}

// Without an open port only the caption is set: polling, when on, goes on.
void TMainForm::ADiagExecute() {
    ADiag->setText(Text(Lang::StartAction));
    if (!session_->IsOpen()) return;
    Polling = !Polling;
    if (Polling) {
        ADiag->setText(Text(Lang::StopAction));
        LinkOk = false;
        ReadCount = 0;
        CurrentPage = PageControl1->currentIndex();
    }
    SetTimerEnabled(Polling);
}

void TMainForm::Timer1Timer() {
    Timer1->stop();
    Panels[0]->setText(QString::fromUtf8(LinkOk ? Lang::ConnectingText : Lang::NoConnectingText));
    // After an unplugged adapter is back, the ECU has none of the page's
    // slots selected any more.
    if (RecoverLostLine(*session_, *session_) == LineRecovery::Restored) LinkOk = false;
    switch (CurrentPage) {
        case 0:
        case 1:
            PollLiveData();
            break;
        case 2:
            PollErrors();
            break;
        case 3:
            PollEcuInfo();
            break;
    }
    SetTimerEnabled(true);
}

void TMainForm::PageControl1Change() {
    CurrentPage = PageControl1->currentIndex();
    LinkOk = false;
}

// F1 to F4 turn the pages (modifiers are not looked at); every key clears the
// link flag, so the next tick of a parameter page selects its set again.
void TMainForm::FormShortCut(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F4) {
        const int page = key - Qt::Key_F1;
        PageControl1->setCurrentIndex(page);
        CurrentPage = page;
    }
    LinkOk = false;
}

// No confirmation and no message; the timer runs afterwards even when polling
// was off, so ticks follow although the button still offers Start.
void TMainForm::AResetErrorsExecute() {
    Timer1->stop();
    ClearErrorMemory(*session_, *session_);
    SetTimerEnabled(true);
}

void TMainForm::LanguageBtnClick() {
    session_->LanguageIndex = session_->LanguageIndex == 0 ? 1 : 0;
    session_->ApplyDefinitionLanguage();
    ApplyLanguage();
    LinkOk = false;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    Polling = false;
    event->accept();
}

// Every key press reaches FormShortCut before the shortcuts of the actions:
// the shortcut override comes first, and a key that no shortcut takes comes
// again as a key press. Both pass up through the parents, so one key may be
// seen more than once; FormShortCut does the same each time. The event goes
// on, except F4 to the port list: the list would open its drop-down on it
// when it has the focus, while the key is there to turn the page.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) ||
        !IsInWindow(watched, this))
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    FormShortCut(key);
    return key == Qt::Key_F4 && event->type() == QEvent::KeyPress && watched == ComNumber;
}

// A timer that already runs keeps its interval.
void TMainForm::SetTimerEnabled(bool enabled) {
    if (!enabled)
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
}
