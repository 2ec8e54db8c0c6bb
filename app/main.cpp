// vmxdiag: the diagnostic window. It reads database.ini of the current folder
// and finds the ECU on the ports that folder's dosdevices/ names (or on the
// machine's serial devices).
//
//   vmxdiag [--record FILE]    (FILE: every byte on the line, see vmxdiag-cli replay)

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <cstdio>
#include <filesystem>

#include "app/Program.h"
#include "app/WindowMessages.h"
#include "platform/StandardStreams.h"

int main(int argc, char** argv) {
    // A closed standard stream would otherwise hand its number to the port,
    // and Qt's warnings would go onto the ECU line.
    KeepStandardStreamsOpen();
    QApplication application(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The diesel-engine ECU's live values, errors and identification."));
    parser.addHelpOption();
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral(
            "Record every byte to and from the port into FILE (see vmxdiag-cli replay)."),
        QStringLiteral("FILE"));
    parser.addOption(record);
    parser.process(application);

    if (parser.isSet(record) && parser.value(record).isEmpty()) {
        std::fprintf(stderr, "vmxdiag: --record needs a file\n");
        return 2;
    }

    WindowBehaviour::Options options;
    options.Directory = std::filesystem::current_path();
    options.RecordPath = QFile::encodeName(parser.value(record)).toStdString();
    MessageBoxes messages;
    return RunMainForm(messages, options);
}
