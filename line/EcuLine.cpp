#include "line/EcuLine.h"

#include "recording/LineRecording.h"
#include "serial/SerialPort.h"
#include "text/PathText.h"

EcuLine::EcuLine(MessageSink& sink, std::filesystem::path base)
    : EcuLine(sink, std::make_unique<SerialPort>(std::move(base))) {}

EcuLine::EcuLine(MessageSink& sink, std::unique_ptr<PortLink> port)
    : sink_(sink), port_(std::move(port)) {}

EcuLine::~EcuLine() {
    try {
        Close();
        // The last lines, and the file's close: nobody is left to hear of a
        // failure but the sink.
        const bool saved = SaveRecording();
        if (!recording_.Close() || !saved) sink_.ShowError(RecordingStoppedText(*this));
    } catch (...) {
        // Nothing may leave a destructor.
    }
}

OpenResult EcuLine::Open(const std::string& name) {
    OpenResult result = port_->Open(name);
    ShowMessages(result);
    if (result.Opened())
        MarkPort();
    else if (result.Outcome != OpenOutcome::AlreadyOpen)
        NoteInRecording(name + ": " + OpenFailureText(result.Outcome, result.Reason));
    return result;
}

void EcuLine::Close() {
    if (!port_->Close()) sink_.ShowError(CloseFailedMessage);
}

void EcuLine::ShowMessages(const OpenResult& result) {
    for (const std::string& message : result.Messages) sink_.ShowError(message);
}

bool EcuLine::ClearErrorMemory() {
    recorder_.Purge();
    const bool sent = ecu_.ClearErrors();
    recorder_.Purge();
    return sent;
}

bool EcuLine::RecordInto(const std::string& path, bool replace,
                         const std::filesystem::path& definitionFile) {
    if (!recording_.Create(path, replace, definitionFile)) return false;
    recordingPath_ = path;
    recorder_.Start();
    if (port_->IsOpen()) MarkPort();
    return true;
}

bool EcuLine::SaveRecording() {
    std::string lines;
    recorder_.TakeLines(lines);
    if (!recording_.IsOpen() || lines.empty()) return true;
    if (recording_.Write(lines)) return true;
    recorder_.Stop();
    return false;
}

void EcuLine::NoteInRecording(const std::string& text) {
    if (recorder_.IsRecording()) recorder_.Note(RecordingComment(text));
}

void EcuLine::MarkPort() {
    if (recorder_.IsRecording()) recorder_.Note(RecordingPortLine(port_->Name(), port_->Device()));
}

std::string RecordingStoppedText(const EcuLine& line) {
    return "The recording into " + PrintablePath(line.RecordingPath()) +
           " stopped: " + line.RecordingFailure() + ".";
}
