#include "database/DefinitionFileNotice.h"

#include "database/DefinitionDatabase.h"
#include "database/ProfileText.h"
#include "platform/RegularFile.h"

namespace {

bool DefinesAParameter(const ProfileText& text) {
    for (std::size_t i = 0; i < DefinitionDatabase::DefinitionCount; ++i)
        if (text.HasSection(DefinitionDatabase::ParameterSection(i))) return true;
    return false;
}

}  // namespace

DefinitionFileNotice InspectDefinitionFile(const std::filesystem::path& path) {
    DefinitionFileNotice notice;
    notice.Path = path;
    std::string bytes;
    const FileRead read = ReadRegularFile(path, bytes);
    if (read.Outcome == FileReadOutcome::Missing) {
        notice.Missing = true;
        return notice;
    }
    if (read.Outcome == FileReadOutcome::Failed) {
        notice.Unreadable = read.Reason;
        return notice;
    }
    const ProfileText text(std::move(bytes));
    notice.NoParameters = !DefinesAParameter(text);
    for (DefinitionFinding& finding : CheckDefinitions(text))
        if (finding.Level == DefinitionFinding::Severity::Error)
            notice.Errors.push_back(std::move(finding));
    return notice;
}

std::vector<std::string> NoticeLines(const DefinitionFileNotice& notice) {
    const std::string name = notice.Path.filename().string();
    std::vector<std::string> lines;
    if (notice.Missing)
        lines.push_back(name +
                        " is not in the current folder: no parameter or error has a name, and "
                        "every value is the raw word.");
    if (!notice.Unreadable.empty())
        lines.push_back(name + ": error: cannot be read: " + notice.Unreadable);
    if (notice.NoParameters)
        lines.push_back(name +
                        " defines no parameter (no section [0000] to [007F]): no parameter has a "
                        "name, and every value is the raw word.");
    for (const DefinitionFinding& finding : notice.Errors)
        lines.push_back(name + ":" + std::to_string(finding.Line) + ": error: " + finding.Message);
    if (!notice.Errors.empty())
        lines.push_back("Run 'vmxdiag-cli check' for every finding in " + name +
                        ", warnings included.");
    return lines;
}
