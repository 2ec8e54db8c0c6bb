#pragma once
// The text of a line recording: every transfer on the byte link, one a line,
// so that a session can be read, diffed and grepped, and played again.
//
//     vmxdiag line recording 1
//     started 2025-03-14T09:26:53.589Z
//     port COM1 /dev/ttyUSB0
//     0 purge
//     41 > 09 85 00 00 01 8F
//     1890 < echo 09 85 00 00 01 8F
//     2160 < byte 09
//     2240 > 09 84 00 00 0F 9C
//     4190 < echo 09 84 00 00 0F 9C
//     4450 < byte 09
//     4710 < byte 00
//     12990 < read 32 3C 0F 10 00 ...
//
// The first line names the format and its version. A `started` line may
// follow it: the wall-clock time (UTC, to the millisecond) at which the
// microseconds of the transfers count from. A `port` line names the
// port (and its device, where that is not the name itself) that the transfers
// after it went to: one comes before the first transfer, and another wherever
// a port was opened later (the user picked another port, or a port whose
// device went away was opened again, maybe on another device now). Each
// transfer line starts with the microseconds since the recording began
// (monotonic, never decreasing). `>` is a write: the bytes sent. `< echo`
// follows it at once with what the write read back (fewer bytes when the echo
// came short). `< byte` is a one-byte read, empty when nothing came; `< read
// N` a counted read of N bytes with those that came. `purge` drops what waits
// on the line. Bytes are two hexadecimal digits each. Lines starting with `#`
// are comments: the tool writes one where a port could not be opened, and
// where no port answered at start (the probes of ports on which no ECU
// answered are left out). Blank lines are skipped; a CR before the line end
// is allowed.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::string_view RecordingFormatLine = "vmxdiag line recording 1";
// More bytes than any one transfer of the tool moves (its work buffer).
constexpr std::size_t MaxTransferBytes = 256;

struct RecordedTransfer {
    enum class Kind : std::uint8_t { Purge, Write, Echo, ReadByte, Read };
    Kind What = Kind::Purge;
    std::uint64_t Micros = 0;
    std::size_t Asked = 0;  // the count a Read asked for; the bytes otherwise
    std::vector<std::uint8_t> Bytes;
    std::size_t Line = 0;  // in the text, from 1
};

// A `port` line: the port of the transfers from Before on.
struct RecordedPort {
    std::string Text;        // what follows "port ": the name, and the device if it differs
    std::size_t Before = 0;  // how many transfers come before it
    std::size_t Line = 0;    // in the text, from 1
};

struct LineRecording {
    std::string Started;  // what follows "started ", empty without that line
    std::vector<RecordedPort> Ports;
    std::vector<RecordedTransfer> Transfers;
};

// Why a text is no recording, at which line (from 1).
struct RecordingFault {
    std::size_t Line = 0;
    std::string Message;
};

// The first line, a `started` line, a `port` line and a comment, each with its line end.
std::string RecordingHeader();
std::string RecordingStartedLine(std::chrono::system_clock::time_point at);
std::string RecordingPortLine(std::string_view name, std::string_view device);
std::string RecordingComment(std::string_view text);

// Appends the line of one transfer. `bytes` are the bytes moved (for Read,
// those that came of the `asked`).
void AppendTransferLine(std::string& text, RecordedTransfer::Kind what, std::uint64_t micros,
                        const std::uint8_t* bytes, std::size_t count, std::size_t asked = 0);

// Bytes as the recording writes them: two hexadecimal digits each, a space between.
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);

using RecordingTime = std::chrono::sys_time<std::chrono::milliseconds>;
// The time of a `started` line, 2025-03-14T09:26:53.589Z; nothing when the
// text is not one.
std::optional<RecordingTime> ParseStartTime(std::string_view text);

// The text of a recording as the recorder writes it (without comments).
std::string RecordingText(const LineRecording& recording);

// Reads a whole recording strictly: a cut end is a fault too. Nothing when
// every line was read; the first fault otherwise, and the recording is then
// empty. RecordingReader.h reads a file as it comes and keeps what came
// before a cut.
std::optional<RecordingFault> ParseRecording(std::string_view text, LineRecording& recording);
