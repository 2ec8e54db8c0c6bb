// vmxdiag: the diagnostic window. It reads database.ini of the current folder
// and finds the ECU on the ports that folder's dosdevices/ names (or on the
// machine's serial devices).

#include <QApplication>
#include <filesystem>

#include "app/Program.h"
#include "app/WindowMessages.h"
#include "serial/StandardStreams.h"

int main(int argc, char** argv) {
    // A closed standard stream would otherwise hand its number to the port,
    // and Qt's warnings would go onto the ECU line.
    KeepStandardStreamsOpen();
    QApplication application(argc, argv);
    MessageBoxes messages;
    return RunMainForm(messages, std::filesystem::current_path());
}
