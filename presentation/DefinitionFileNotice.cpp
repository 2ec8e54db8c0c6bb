#include "presentation/DefinitionFileNotice.h"

#include "database/DefinitionDatabase.h"
#include "database/ProfileText.h"
#include "text/CodePage.h"
#include "text/PathText.h"
#include "text/Printable.h"

namespace {

// The folder looked in, in the notice's code page.
std::string FolderText(const std::filesystem::path& file) {
    return Utf8ToCp1251(PrintablePath(file.parent_path()));
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
    notice.OnlyLanguage = notice.NoParameters && HoldsOnlyTheLanguage(file.Text());
    for (DefinitionFinding& finding : CheckDefinitions(file.Text()))
        if (finding.Level == DefinitionFinding::Severity::Error)
            notice.Errors.push_back(std::move(finding));
    return notice;
}

std::vector<std::string> NoticeLines(const DefinitionFileNotice& notice) {
    const std::string name = notice.Path.filename().string();
    std::vector<std::string> lines;
    if (notice.Missing)
        lines.push_back(name + " is not in the current folder, " + FolderText(notice.Path) +
                        ": no parameter or error has a name, and every value is the raw word.");
    if (!notice.Unreadable.empty())
        lines.push_back(name + ": error: cannot be read: " + notice.Unreadable);
    if (notice.NoParameters)
        lines.push_back(name + " in " + FolderText(notice.Path) + " defines no parameter" +
                        (notice.OnlyLanguage
                             ? ": it holds only the language, as the window writes it on closing "
                               "when it started without the file"
                             : " (no section [0000] to [007F])") +
                        ". No parameter has a name, and every value is the raw word.");
    for (const DefinitionFinding& finding : notice.Errors)
        lines.push_back(name + ":" + std::to_string(finding.Line) +
                        ": error: " + WithControlsShown(finding.Message));
    if (!notice.Errors.empty())
        lines.push_back("Run 'vmxdiag-cli check' for every finding in " + name +
                        ", warnings included.");
    return lines;
}
