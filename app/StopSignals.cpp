#include "app/StopSignals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int stop : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&set, stop);
    return set;
}

}  // namespace

void StopSignals::Block() {
    const sigset_t set = StopSet();
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    const sigset_t set = StopSet();
    fd_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0) return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        signalfd_siginfo info{};
        while (::read(fd_, &info, sizeof info) == sizeof info) {
        }
        QApplication::closeAllWindows();
    });
}

StopSignals::~StopSignals() {
    if (fd_ >= 0) ::close(fd_);
}
