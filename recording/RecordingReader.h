#pragma once
// Reading a line recording (LineRecording.h) as a stream: its bytes are judged
// line by line as they come, so that memory grows with the transfers kept and
// not with the text, and a text that is no recording is refused at its first
// line however long it is. A recording cut short (a full disk, a program
// killed while it wrote) keeps every whole line before the cut.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "recording/LineRecording.h"

class RecordingReader {
public:
    // Longer than any line the recorder writes; a longer one is refused, so
    // that a text without line ends is never held whole.
    static constexpr std::size_t MaxLineBytes = 65536;

    // Reads into `recording`, which is emptied first.
    explicit RecordingReader(LineRecording& recording);

    // The next bytes of the text. False once the text is found to be no
    // recording (see Fault); what comes after is not looked at.
    bool Take(std::string_view bytes);
    // The end of the text. A last line without its line end, and a write
    // without its echo, are a cut end, said in CutShort: the request they
    // belong to is left out of the recording, the whole ones before it stay.
    void Finish();

    // Why the text is no recording, at its line; the recording is then empty.
    const std::optional<RecordingFault>& Fault() const { return fault_; }
    // Where the text was cut short; the recording holds what came before.
    const std::optional<RecordingFault>& CutShort() const { return cutShort_; }

private:
    bool Line(std::string_view line);
    bool Refuse(std::size_t line, std::string message);

    LineRecording& recording_;
    std::string pending_;    // the start of a line whose end has not come yet
    std::size_t lines_ = 0;  // whole lines read
    bool empty_ = true;
    std::optional<RecordingFault> fault_;
    std::optional<RecordingFault> cutShort_;
};

// A recording file larger than this is refused before it is read.
constexpr std::uint64_t MaxRecordingBytes = std::uint64_t{512} << 20;

struct RecordingFileRead {
    std::string Unreadable;                  // why the file was not read; empty when it was
    std::optional<RecordingFault> Fault;     // why it is no recording (see RecordingReader)
    std::optional<RecordingFault> CutShort;  // where it was cut short (see RecordingReader)
};

// Reads the recording at `path`: a regular file of at most MaxRecordingBytes.
RecordingFileRead ReadRecordingFile(const std::filesystem::path& path, LineRecording& recording);
