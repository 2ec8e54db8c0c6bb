#include "session/SessionFactory.h"

#include "presentation/LineWording.h"

RecordingNotCreated::RecordingNotCreated(const std::string& path, const std::string& reason)
    : std::runtime_error(RecordingNotCreatedText(path, reason)) {}

std::unique_ptr<EcuSession> MakeSession(MessageSink& sink, SessionOptions options) {
    auto session = std::make_unique<EcuSession>(sink, options.Directory, std::move(options.Port),
                                                options.Definitions);
    if (options.Language) {
        session->Definitions.LanguageIndex = *options.Language;
        session->Definitions.ApplyDefinitionLanguage();
    }
    if (!options.RecordPath.empty() &&
        !session->Line.RecordInto(options.RecordPath, options.ForceRecording,
                                  DefinitionFileOf(options.Directory)))
        throw RecordingNotCreated(options.RecordPath, session->Line.RecordingFailure());
    return session;
}
