#pragma once
// The line to the ECU as every front end uses it: the serial port, a recorder
// that every transfer passes, and the requests over it. It finds the port on
// which the ECU answers, brings a lost port back, clears the error memory, and
// records the line into a file when asked to. The port's messages (the texts
// of the window's "Error" boxes) go to the message sink.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "line/LineRecovery.h"
#include "line/PortDetection.h"
#include "platform/MessageSink.h"
#include "protocol/EcuProtocol.h"
#include "recording/LineRecorder.h"
#include "recording/RecordingFile.h"
#include "serial/PortLink.h"

class EcuLine {
public:
    using OnTried = std::function<void(const PortProbe&)>;

    // The machine's serial port, closed, its names resolved against `base`
    // (its dosdevices/).
    explicit EcuLine(MessageSink& sink,
                     std::filesystem::path base = std::filesystem::current_path());
    // Another port behind the line (tests script one), closed.
    EcuLine(MessageSink& sink, std::unique_ptr<PortLink> port);
    // Closes the port (a failed close is shown) and writes what is left of a
    // recording.
    ~EcuLine();
    EcuLine(const EcuLine&) = delete;
    EcuLine& operator=(const EcuLine&) = delete;

    // --- The port ---
    // Fills PortNames from the port namespace.
    void ListPorts() { port_->ListPorts(); }
    const std::vector<std::string>& PortNames() const { return port_->PortNames(); }
    // Opens the named port; its messages are shown through the sink. Nothing
    // happens when a port is open already.
    OpenResult Open(const std::string& name);
    // Closes the port; a close the system refused is shown through the sink.
    void Close();
    bool IsOpen() const { return port_->IsOpen(); }
    bool IsHungUp() const { return port_->IsHungUp(); }
    const std::string& PortName() const { return port_->Name(); }
    const std::string& Device() const { return port_->Device(); }

    // --- Finding the ECU (PortDetection.cpp) ---
    // Opens the named port and probes it; it stays open when the ECU answered
    // and keepOpen is set. The port must be closed.
    PortProbe ProbePort(const std::string& name, bool keepOpen);
    // Lists the ports and probes each in list order; the first that answers
    // stays open and ends the search. When none answers, every port was tried
    // and none is left open. onTried hears of each port as soon as it was tried.
    PortDetection Detect(const OnTried& onTried = {});
    // A named port is probed and kept when the ECU answers; without a name
    // the ports are searched as Detect does.
    PortDetection Connect(const std::string& portName, const OnTried& onTried = {});
    // Probes every listed port, closing each again, to report all that answer.
    PortDetection ProbeEveryPort(const OnTried& onTried = {});

    // --- Keeping the line (LineRecovery.cpp) ---
    // One attempt, for the start of a tick. When the adapter was unplugged,
    // every transfer on the old device fails for good: the port is opened
    // again by its name (which a replugged adapter may have moved to another
    // device) and the ECU probed before the port is used again. A device that
    // opens but does not answer is let go again with its line settings
    // restored, so an unrelated terminal that took the old device's place is
    // left as it was; the port then stays lost for the next attempt.
    LineRecovery Recover();

    // --- Requests ---
    EcuProtocol& Ecu() { return ecu_; }
    const EcuProtocol& Ecu() const { return ecu_; }
    // The link every request goes over (through the recorder).
    ByteLink& Link() { return recorder_; }
    // Clears the ECU's error memory as the tool always does it: purge, the
    // clear request, purge. The ECU's answer is never read; the second purge
    // drops it. True when the request went out (its whole echo came back).
    bool ClearErrorMemory();

    // --- Recording (see recording/LineRecording.h) ---
    // From now on every transfer, and every port opened, is kept for the file
    // at `path`, which is created now: a regular file only, never the
    // session's definition file or a name Windows takes for a device (see
    // recording/RecordingTarget.h), and one that exists already only when
    // `replace` is set. False when it cannot be created; the reason is then
    // in RecordingFailure().
    bool RecordInto(const std::string& path, bool replace = false,
                    const std::filesystem::path& definitionFile = {});
    bool IsRecording() const { return recording_.IsOpen(); }
    // Writes what was recorded since the last call; call it between exchanges,
    // so that writing never holds one up. False only at the write that failed:
    // the recording has then stopped for good, the reason in RecordingFailure(),
    // and the session goes on.
    bool SaveRecording();
    const std::string& RecordingFailure() const { return recording_.Failure(); }
    const std::string& RecordingPath() const { return recordingPath_; }
    // A comment line in the recording, at this point of it.
    void NoteInRecording(const std::string& text);

private:
    PortDetection ProbeListedPorts(bool stopAtFirst, const OnTried& onTried);
    void ShowMessages(const OpenResult& result);
    // The recording learns which port the transfers after this go to.
    void MarkPort();

    MessageSink& sink_;
    std::unique_ptr<PortLink> port_;
    LineRecorder recorder_{*port_};
    EcuProtocol ecu_{recorder_};
    RecordingFile recording_;
    std::string recordingPath_;
};

// The message of a recording that stopped: "The recording into FILE stopped: reason."
std::string RecordingStoppedText(const EcuLine& line);
