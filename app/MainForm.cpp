// The window's life and the events it hands to the behaviour.

#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "app/TrendForm.h"

namespace {

// The control or one of its parents is the window (the drop-down list of a
// combo box is a window of its own, but a child of the combo box).
bool IsInWindow(const QObject* object, const QWidget* window) {
    for (auto* widget = qobject_cast<const QWidget*>(object); widget;
         widget = widget->parentWidget())
        if (widget == window) return true;
    return false;
}

// The behaviour's key code of a Qt key: F1 to F24 by their virtual-key codes,
// any other key as 0.
int VirtualKeyOf(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VirtualKey::F1 + (key - Qt::Key_F1);
    return 0;
}

}  // namespace

TMainForm::TMainForm(WindowMessages& messages, const WindowBehaviour::Options& options)
    : messages_(messages) {
    BuildLayout();
    // Every widget paints through the window's back buffer, so the lists and
    // the memo need no double-buffering of their own.
    behaviour_ = std::make_unique<WindowBehaviour>(static_cast<WindowView&>(*this), options);

    connect(ComNumber, &QComboBox::activated, this, [this](int index) {
        behaviour_->ComNumberChange(ComNumber->itemText(index).toStdString());
    });
    connect(ADiag, &QAction::triggered, this, [this] { behaviour_->ADiagExecute(); });
    connect(AResetErrors, &QAction::triggered, this, [this] { behaviour_->AResetErrorsExecute(); });
    connect(ALog, &QAction::triggered, this, [this] { behaviour_->ALogExecute(); });
    connect(ATrend, &QAction::triggered, this, [this] { behaviour_->ATrendExecute(); });
    connect(AReport, &QAction::triggered, this, [this] { behaviour_->AReportExecute(); });
    connect(LanguageBtn, &QPushButton::clicked, this, [this] { behaviour_->LanguageBtnClick(); });
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this] { behaviour_->PageControl1Change(); });
    connect(Timer1, &QTimer::timeout, this, [this] { behaviour_->Timer1Timer(); });
    qApp->installEventFilter(this);

    // At start the window itself has the focus: an arrow key on the port list
    // would move polling to another port, and on the tab bar turn the page.
    setFocusPolicy(Qt::StrongFocus);
    setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    Timer1->stop();
    // Ending the session may show a message box, whose event loop must not
    // reach a handler that uses the session.
    setEnabled(false);
    behaviour_.reset();
}

// The trend window goes with the main one.
void TMainForm::closeEvent(QCloseEvent* event) {
    if (!behaviour_->FormCloseQuery()) {
        event->ignore();
        return;
    }
    TrendWindow->close();
    event->accept();
}

// Every key press reaches FormShortCut before the shortcuts of the actions:
// the shortcut override comes first, and a key that no shortcut takes comes
// again as a key press. Both pass up through the parents, so one key may be
// seen more than once; FormShortCut does the same each time. The event goes
// on, except F4 to the port list: the list would open its drop-down on it
// when it has the focus, while the key is there to turn the page. The trend
// window, a child of this one, only shares the actions' shortcuts (F5 to F9):
// its list's keys neither turn the page nor touch the link flag.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) ||
        !IsInWindow(watched, this) || IsInWindow(watched, TrendWindow) || !behaviour_)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    behaviour_->FormShortCut(VirtualKeyOf(key));
    return key == Qt::Key_F4 && event->type() == QEvent::KeyPress && watched == ComNumber;
}
