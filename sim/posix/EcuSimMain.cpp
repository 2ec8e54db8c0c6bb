// vmx-ecusim: a simulated ECU on a pseudo-terminal for the demo and for tests
// that run the programs. Prints the device path, serves until SIGINT or SIGTERM.

#include <iconv.h>
#include <signal.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/FileSizeSignal.h"
#include "platform/StandardStreams.h"
#include "recording/RecordingReader.h"
#include "sim/posix/EcuSimulator.h"
#include "text/Printable.h"

namespace {

std::uint16_t ParseWord(const std::string& text, int base, const std::string& what) {
    std::size_t used = 0;
    unsigned long value = 0;
    try {
        value = std::stoul(text, &used, base);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value > 0xFFFF) {
        throw std::invalid_argument("bad " + what + ": " + text);
    }
    return static_cast<std::uint16_t>(value);
}

// "40.3.5" into the three version words.
void ParseVersion(const std::string& text, EcuState& state) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t dot; (dot = text.find('.', from)) != std::string::npos; from = dot + 1) {
        parts.push_back(text.substr(from, dot - from));
    }
    parts.push_back(text.substr(from));
    if (parts.size() != 3)
        throw std::invalid_argument("bad --ecu-version (want V1.V2.V3): " + text);
    state.VersionMajor = ParseWord(parts[0], 10, "--ecu-version");
    state.VersionMinor = ParseWord(parts[1], 10, "--ecu-version");
    state.VersionPatch = ParseWord(parts[2], 10, "--ecu-version");
}

// The VIN as typed (UTF-8) into the ECU's code page.
std::string ToCp866(const std::string& utf8) {
    iconv_t cd = ::iconv_open("CP866", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no UTF-8 to CP866 converter");
    std::string in = utf8;
    std::string out(in.size(), '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    std::size_t result = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    ::iconv_close(cd);
    if (result == static_cast<std::size_t>(-1)) {
        throw std::invalid_argument("VIN is not convertible to CP866: " + utf8);
    }
    out.resize(out.size() - outLeft);
    return out;
}

// The requests and replies of a recording made with vmxdiag-cli --record. A
// recording cut short answers up to its cut, which is said. Texts of the file
// reach the terminal with their control characters shown as '?'.
std::vector<RecordedExchange> ReadRecording(const std::string& path) {
    LineRecording recording;
    const RecordingFileRead read = ReadRecordingFile(path, recording);
    if (!read.Unreadable.empty())
        throw std::invalid_argument(path + ": cannot be read: " + read.Unreadable);
    if (read.Fault)
        throw std::invalid_argument(path + ":" + std::to_string(read.Fault->Line) + ": " +
                                    Printable(read.Fault->Message));
    if (read.CutShort)
        std::cerr << "vmx-ecusim: " << path << ":" << read.CutShort->Line
                  << ": warning: " << Printable(read.CutShort->Message)
                  << "; the requests before it are answered\n";
    return RecordedExchanges(recording);
}

}  // namespace

int main(int argc, char** argv) {
    // Else a closed standard output would be handed to the pseudo-terminal, and
    // the device path printed below would reach the tool as a reply.
    KeepStandardStreamsOpen();
    LetOversizedWritesFail();
    CLI::App app{
        "Simulated ECU on a pseudo-terminal; prints the device path and serves it "
        "until interrupted."};
    std::string link;
    bool unpaced = false;
    bool silent = false;
    std::string ecuVersion = "40.3.5";
    unsigned appId = 1001;
    std::vector<int> errors;
    std::string vin;
    std::vector<std::string> values;
    std::string replay;
    app.add_option("--link", link, "make this symbolic link to the device (e.g. dosdevices/COM1)");
    app.add_flag("--unpaced", unpaced, "answer at once instead of at 38400 baud");
    app.add_flag("--silent", silent, "echo every byte but never answer (the ECU switched off)");
    app.set_version_flag("--version", "vmx-ecusim " VMX_VERSION);
    app.add_option("--ecu-version", ecuVersion, "the ECU's program version V1.V2.V3")
        ->capture_default_str();
    app.add_option("--app-id", appId, "application identifier")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    app.add_option("--errors", errors, "stored error numbers, e.g. 0,5,17")
        ->delimiter(',')
        ->check(CLI::Range(0, 127));
    app.add_option("--vin", vin, "vehicle identification number (17 characters)");
    app.add_option("--set", values, "fixed live word for an address, ADDR=WORD (ADDR in hex)");
    app.add_option("--replay", replay,
                   "answer each request with the reply recorded for it in FILE (made with "
                   "vmxdiag-cli --record), in order; a request that differs from the recording, "
                   "or one past its end, ends the answers")
        ->type_name("FILE");
    app.set_config("--config", "", "file of key=value lines with the same settings");
    CLI11_PARSE(app, argc, argv);

    EcuSimulator::Options options;
    options.Paced = !unpaced;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> fixedWords;
    try {
        ParseVersion(ecuVersion, options.State);
        options.State.ApplicationId = static_cast<std::uint16_t>(appId);
        for (int error : errors) {
            options.State.ErrorBitmap[error / 8] |= static_cast<std::uint8_t>(1u << (error % 8));
        }
        if (!vin.empty()) {
            options.State.VinCp866 = ToCp866(vin);
            if (options.State.VinCp866.size() > 17) throw std::invalid_argument("VIN too long");
        }
        for (const std::string& value : values) {
            std::size_t eq = value.find('=');
            if (eq == std::string::npos) throw std::invalid_argument("bad --set: " + value);
            fixedWords.emplace_back(ParseWord(value.substr(0, eq), 16, "address"),
                                    ParseWord(value.substr(eq + 1), 0, "word"));
        }
        if (!replay.empty()) {
            options.Replay = ReadRecording(replay);
            options.ReplayStopped = [](const std::string& why) {
                std::cerr << "vmx-ecusim: " << why << std::endl;
            };
        }
    } catch (const std::exception& e) {
        std::cerr << "vmx-ecusim: " << e.what() << '\n';
        return 2;
    }

    // Blocked before the serving thread starts, so that it inherits the mask and
    // the signals reach sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        EcuSimulator simulator(options);
        for (const auto& [address, word] : fixedWords) simulator.SetLiveValue(address, word);
        if (silent) {
            SimFaults faults;
            faults.Silent = true;
            simulator.SetFaults(faults);
        }
        if (!link.empty()) simulator.CreateLink(link);
        std::cout << simulator.DevicePath() << std::endl;
        int signal = 0;
        sigwait(&stopSignals, &signal);
    } catch (const std::exception& e) {
        std::cerr << "vmx-ecusim: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
