#include "recording/RecordingFile.h"

#include "platform/WritableFile.h"
#include "recording/LineRecording.h"
#include "recording/RecordingTarget.h"

bool RecordingFile::Create(const std::string& path, bool replace,
                           const std::filesystem::path& definitionFile) {
    writer_.Close();
    if (const auto refusal = RecordingPathRefusal(path, definitionFile)) {
        writer_.Refuse(*refusal);
        return false;
    }
    FileCreate created = CreateRegularFile(path, replace);
    switch (created.Outcome) {
        case FileCreateOutcome::Created:
            break;
        case FileCreateOutcome::Exists:
            writer_.Refuse("a file of that name exists (--force replaces it)");
            return false;
        case FileCreateOutcome::NotRegular:
            writer_.Refuse("it is not a regular file (a device, a terminal or a FIFO)");
            return false;
        case FileCreateOutcome::Failed:
            writer_.Refuse(created.Reason);
            return false;
    }
    writer_.Adopt(created.File);
    return writer_.Write(RecordingHeader());
}
