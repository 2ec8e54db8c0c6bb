// vmxdiag: the diagnostic window. It reads database.ini of the current folder
// and finds the ECU on the ports that folder's dosdevices/ names (or on the
// machine's serial devices).
//
//   vmxdiag [--record FILE]    (FILE: every byte on the line, see vmxdiag-cli replay)
//   vmxdiag --version

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/Program.h"
#include "app/StopSignals.h"
#include "app/WindowMessages.h"
#include "platform/FileSizeSignal.h"
#include "platform/StandardStreams.h"

namespace {

// Whether the command line asks for the version: an argument --version before
// "--" that is not the file of --record.
bool AsksForVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) return false;
        if (std::strcmp(argv[i], "--record") == 0) {
            ++i;
        } else if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before QApplication, which needs a display: the version can be
    // asked on a text console, over ssh and by a package check.
    if (AsksForVersion(argc, argv)) {
        std::printf("vmxdiag %s\n", VMX_VERSION);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    // A closed standard stream would otherwise hand its number to the port,
    // and Qt's warnings would go onto the ECU line.
    KeepStandardStreamsOpen();
    LetOversizedWritesFail();
    StopSignals::Block();
    QApplication application(argc, argv);
    const StopSignals stops(&application);
    QApplication::setApplicationVersion(QStringLiteral(VMX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The diesel-engine ECU's live values, errors and identification."));
    parser.addHelpOption();
    // Listed by --help; the answer itself came before QApplication above.
    parser.addVersionOption();
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral(
            "Record every byte to and from the port into FILE (see vmxdiag-cli replay)."),
        QStringLiteral("FILE"));
    parser.addOption(record);
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Replace the file of --record when it exists."));
    parser.addOption(force);
    parser.process(application);

    if (parser.isSet(record) && parser.value(record).isEmpty()) {
        std::fprintf(stderr, "vmxdiag: --record needs a file\n");
        return 2;
    }
    if (parser.isSet(force) && !parser.isSet(record)) {
        std::fprintf(stderr, "vmxdiag: --force goes with --record\n");
        return 2;
    }

    WindowBehaviour::Options options;
    options.Directory = std::filesystem::current_path();
    options.RecordPath = QFile::encodeName(parser.value(record)).toStdString();
    options.ForceRecording = parser.isSet(force);
    MessageBoxes messages;
    return RunMainForm(messages, options);
}
