#include "window/WindowOptions.h"

#include <algorithm>
#include <initializer_list>

#include "platform/UserPlaces.h"

namespace {

const WindowOption* Named(const std::string& name) {
    const auto& table = WindowOptions();
    const auto it = std::find_if(table.begin(), table.end(), [&name](const WindowOption& option) {
        return name == option.Name;
    });
    return it == table.end() ? nullptr : &*it;
}

bool IsOneOf(const std::string& argument, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(),
                       [&argument](const char* name) { return argument == name; });
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

const std::vector<WindowOption>& WindowOptions() {
    static const std::vector<WindowOption> table{
        {"record", "FILE",
         "Record every byte to and from the port into FILE (see vmxdiag-cli replay).", nullptr,
         [](WindowArguments& arguments, const std::string& file) {
             arguments.Options.RecordPath = file;
         }},
        {"force", nullptr, "Replace the file of --record when it exists.", "record",
         [](WindowArguments& arguments, const std::string&) {
             arguments.Options.ForceRecording = true;
         }},
        {"user-folder", nullptr,
         "Work in the user's own folder, " + UserDataFolderInWords() +
             ", made with a copy of the sample database.ini when missing.",
         nullptr,
         [](WindowArguments& arguments, const std::string&) { arguments.UserFolder = true; }},
        {"open-log", "FILE",
         "Show the log FILE (a CSV of F6 or vmxdiag-cli live) in the log viewer alone: no main "
         "window, no port; database.ini is only read, for names, units and ranges.",
         nullptr,
         [](WindowArguments& arguments, const std::string& file) { arguments.OpenLog = file; }},
    };
    return table;
}

WindowArguments ApplyWindowOptions(const std::vector<std::pair<std::string, std::string>>& given) {
    WindowArguments arguments;
    const auto isGiven = [&given](const char* name) {
        return std::any_of(given.begin(), given.end(),
                           [name](const auto& option) { return option.first == name; });
    };
    for (const auto& [name, value] : given) {
        const WindowOption* option = Named(name);
        if (!option) {
            arguments.Problem = "unknown option --" + name;
            return arguments;
        }
        if (option->ValueName && value.empty()) {
            arguments.Problem = "--" + name + " needs a " + Lower(option->ValueName);
            return arguments;
        }
        if (option->GoesWith && !isGiven(option->GoesWith)) {
            arguments.Problem = "--" + name + " goes with --" + option->GoesWith;
            return arguments;
        }
        option->Set(arguments, value);
    }
    // The viewer alone opens no port, so a recording of its line would stay
    // empty without a word.
    if (isGiven("open-log") && isGiven("record"))
        arguments.Problem = "--record does not go with --open-log, which opens no port";
    return arguments;
}

WindowCommandLine ReadWindowCommandLine(const std::vector<std::string>& arguments) {
    WindowCommandLine line;
    std::vector<std::pair<std::string, std::string>> given;
    bool help = false, version = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") break;
        if (IsOneOf(argument, {"--version", "-v"})) {
            version = true;
            continue;
        }
        if (IsOneOf(argument, {"--help", "-h", "-?"})) {
            help = true;
            continue;
        }
        if (!argument.starts_with("--")) {
            line.Arguments.Problem = "unknown argument " + argument;
            continue;
        }
        const std::size_t equals = argument.find('=');
        std::string name = argument.substr(2, equals == std::string::npos ? equals : equals - 2);
        std::string value;
        const WindowOption* option = Named(name);
        if (equals != std::string::npos)
            value = argument.substr(equals + 1);
        else if (option && option->ValueName && i + 1 < arguments.size())
            value = arguments[++i];  // never an option of its own, however it starts
        given.emplace_back(std::move(name), std::move(value));
    }
    if (version || help) {
        line.Ask = version ? WindowAsk::Version : WindowAsk::Help;
        return line;
    }
    if (line.Arguments.Problem.empty()) line.Arguments = ApplyWindowOptions(given);
    line.Ask = line.Arguments.Problem.empty() ? WindowAsk::Window : WindowAsk::Wrong;
    return line;
}

std::string WindowUsage() {
    std::string usage = "Usage: vmxdiag";
    std::string list;
    for (const WindowOption& option : WindowOptions()) {
        const std::string form = std::string("--") + option.Name +
                                 (option.ValueName ? std::string(" ") + option.ValueName : "");
        usage += " [" + form + "]";
        list += "\n  " + form + "\n      " + option.Help;
    }
    return usage + " | --help | --version\n" + list;
}
