// vmxdiag: the diagnostic window. It reads database.ini of the current folder
// and finds the ECU on the ports that folder's dosdevices/ names (or on the
// machine's serial devices).
//
//   vmxdiag [--record FILE [--force]]   (every byte on the line, see vmxdiag-cli replay)
//   vmxdiag --user-folder ...           (in ~/.local/share/vmxdiag, made with the sample
//                                        when missing)
//   vmxdiag --open-log FILE             (the log viewer alone: no main window, no port)
//   vmxdiag --version | --help          (the options: window/WindowOptions.cpp)

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Program.h"
#include "app/StopSignals.h"
#include "app/WindowMessages.h"
#include "platform/FileSizeSignal.h"
#include "platform/StandardStreams.h"
#include "window/UserFolder.h"
#include "window/WindowOptions.h"

namespace {

// The program's options (window/WindowOptions.h), the same for its help and
// for the window, with Qt's --help and --version.
struct ProgramOptions {
    ProgramOptions() {
        Parser.setApplicationDescription(
            QStringLiteral("The diesel-engine ECU's live values, errors and identification."));
        Parser.addHelpOption();
        // Listed by --help; the answer itself comes before any application.
        Parser.addVersionOption();
        for (const WindowOption& option : WindowOptions()) {
            const QString name = QString::fromLatin1(option.Name);
            const QString help = QString::fromUtf8(option.Help);
            Options.push_back(option.ValueName
                                  ? std::make_unique<QCommandLineOption>(
                                        name, help, QString::fromLatin1(option.ValueName))
                                  : std::make_unique<QCommandLineOption>(name, help));
            Parser.addOption(*Options.back());
        }
    }

    // The options given, their values as file names are encoded.
    std::vector<std::pair<std::string, std::string>> Given() const {
        std::vector<std::pair<std::string, std::string>> given;
        for (const auto& option : Options)
            if (Parser.isSet(*option))
                given.emplace_back(option->names().front().toStdString(),
                                   QFile::encodeName(Parser.value(*option)).toStdString());
        return given;
    }

    QCommandLineParser Parser;
    std::vector<std::unique_ptr<QCommandLineOption>> Options;
};

}  // namespace

int main(int argc, char** argv) {
    // Answered before QApplication, which needs a display: the version and the
    // help can be asked on a text console, over ssh and by a package check.
    const WindowAsk asked =
        ReadWindowCommandLine(std::vector<std::string>(argv + 1, argv + argc)).Ask;
    if (asked == WindowAsk::Version) {
        std::printf("vmxdiag %s\n", VMX_VERSION);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    // (--help-all also lists the window's Qt options, which need the window's application.)
    if (asked == WindowAsk::Help) {
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
    program.Parser.process(application);
    WindowArguments arguments = ApplyWindowOptions(program.Given());
    if (!arguments.Problem.empty()) {
        std::fprintf(stderr, "vmxdiag: %s\n", arguments.Problem.c_str());
        return 2;
    }
    MessageBoxes messages;
    if (arguments.UserFolder) {
        try {
            EnterUserFolder(UserFolderPlacesOfThisUser());
        } catch (const std::runtime_error& e) {
            messages.Show(QString::fromStdString(e.what()), WindowMessages::Icon::Error);
            return 1;
        }
    }
    arguments.Options.Directory = std::filesystem::current_path();
    if (!arguments.OpenLog.empty())
        return RunLogViewer(messages, arguments.Options.Directory, arguments.OpenLog);
    return RunMainForm(messages, arguments.Options);
}
