#pragma once
// Termination (SIGTERM), Ctrl+C (SIGINT) and a closed terminal (SIGHUP) end the
// window as a close does: polling stops, the language is written back and the
// port given back, where the signals' default would end the process at once
// and leave a pseudo-terminal's port marked exclusive for the next run.

#include <QObject>

class QSocketNotifier;

class StopSignals : public QObject {
public:
    // Holds the three signals back in every thread to come: call it first
    // thing in main, before the application starts any thread.
    static void Block();

    // A signal held back then closes every window of the application.
    explicit StopSignals(QObject* parent);
    ~StopSignals() override;

private:
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};
