#include "database/DefinitionFileNotice.h"

#include "database/DefinitionDatabase.h"
#include "database/ProfileText.h"

namespace {

bool DefinesAParameter(const ProfileText& text) {
    for (std::size_t i = 0; i < DefinitionDatabase::DefinitionCount; ++i)
        if (text.HasSection(DefinitionDatabase::ParameterSection(i))) return true;
    return false;
}

}  // namespace

DefinitionFileNotice InspectDefinitionFile(const std::filesystem::path& path) {
    return InspectDefinitionFile(ProfileFile(path));
}

DefinitionFileNotice InspectDefinitionFile(const ProfileFile& file) {
    DefinitionFileNotice notice;
    notice.Path = file.Path();
    notice.Missing = file.Missing();
    notice.Unreadable = file.ReadFailure();
    if (notice.Missing || !notice.Unreadable.empty()) return notice;
    notice.NoParameters = !DefinesAParameter(file.Text());
    for (DefinitionFinding& finding : CheckDefinitions(file.Text()))
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
