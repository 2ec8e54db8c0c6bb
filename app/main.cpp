// vmxdiag: the diagnostic window. It reads database.ini of the current folder
// and finds the ECU on the ports that folder's dosdevices/ names (or on the
// machine's serial devices).
//
//   vmxdiag [--record FILE]    (FILE: every byte on the line, see vmxdiag-cli replay)
//   vmxdiag --user-folder ...  (in ~/.local/share/vmxdiag, made with the sample when missing)
//   vmxdiag --version | --help

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>

#include "app/Program.h"
#include "app/StopSignals.h"
#include "app/WindowMessages.h"
#include "platform/FileSizeSignal.h"
#include "platform/StandardStreams.h"
#include "window/UserFolder.h"

namespace {

bool IsOneOf(const char* argument, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (std::strcmp(argument, name) == 0) return true;
    return false;
}

// Whether the command line asks for the version or the help: such an argument
// before "--" that is not the file of --record.
bool Asks(int argc, char** argv, std::initializer_list<const char*> names) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) return false;
        if (std::strcmp(argv[i], "--record") == 0)
            ++i;
        else if (IsOneOf(argv[i], names))
            return true;
    }
    return false;
}

// The program's options, the same for its help and for the window.
struct ProgramOptions {
    ProgramOptions() {
        Parser.setApplicationDescription(
            QStringLiteral("The diesel-engine ECU's live values, errors and identification."));
        Parser.addHelpOption();
        // Listed by --help; the answer itself comes before any application.
        Parser.addVersionOption();
        Parser.addOption(Record);
        Parser.addOption(Force);
        Parser.addOption(UserFolder);
    }

    QCommandLineParser Parser;
    const QCommandLineOption Record{
        QStringLiteral("record"),
        QStringLiteral(
            "Record every byte to and from the port into FILE (see vmxdiag-cli replay)."),
        QStringLiteral("FILE")};
    const QCommandLineOption Force{QStringLiteral("force"),
                                   QStringLiteral("Replace the file of --record when it exists.")};
    const QCommandLineOption UserFolder{
        QStringLiteral("user-folder"),
        QStringLiteral("Work in the user's own folder, ~/.local/share/vmxdiag, made with a copy "
                       "of the sample database.ini when missing.")};
};

}  // namespace

int main(int argc, char** argv) {
    // Answered before QApplication, which needs a display: the version and the
    // help can be asked on a text console, over ssh and by a package check.
    if (Asks(argc, argv, {"--version", "-v"})) {
        std::printf("vmxdiag %s\n", VMX_VERSION);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    // (--help-all also lists the window's Qt options, which need the window's application.)
    if (Asks(argc, argv, {"--help", "-h", "-?"})) {
        const QCoreApplication core(argc, argv);
        ProgramOptions help;
        help.Parser.process(core.arguments());  // prints the help, or what is wrong
        help.Parser.showHelp(0);                // ends the program
    }
    // A closed standard stream would otherwise hand its number to the port,
    // and Qt's warnings would go onto the ECU line.
    KeepStandardStreamsOpen();
    LetOversizedWritesFail();
    StopSignals::Block();
    QApplication application(argc, argv);
    const StopSignals stops(&application);
    QApplication::setApplicationVersion(QStringLiteral(VMX_VERSION));

    ProgramOptions program;
    QCommandLineParser& parser = program.Parser;
    const QCommandLineOption& record = program.Record;
    const QCommandLineOption& force = program.Force;
    parser.process(application);

    if (parser.isSet(record) && parser.value(record).isEmpty()) {
        std::fprintf(stderr, "vmxdiag: --record needs a file\n");
        return 2;
    }
    if (parser.isSet(force) && !parser.isSet(record)) {
        std::fprintf(stderr, "vmxdiag: --force goes with --record\n");
        return 2;
    }

    MessageBoxes messages;
    try {
        if (parser.isSet(program.UserFolder)) EnterUserFolder(UserFolderPlacesOfThisUser());
    } catch (const std::runtime_error& e) {
        messages.Show(QString::fromStdString(e.what()), WindowMessages::Icon::Error);
        return 1;
    }
    WindowBehaviour::Options options;
    options.Directory = std::filesystem::current_path();
    options.RecordPath = QFile::encodeName(parser.value(record)).toStdString();
    options.ForceRecording = parser.isSet(force);
    return RunMainForm(messages, options);
}
