// The window recording its line (vmxdiag --record), on scripted ports and on
// simulators: what a session, a port change, a reopen after a hang-up and a
// start without an answering port write, read back and played as replay
// plays it; and a recording that cannot be made or written any more.

#include <gmock/gmock.h>

#include <algorithm>

#include "platform/RegularFile.h"
#include "recording/LineRecording.h"
#include "recording/RecordingPlayback.h"
#include "support/BehaviourFixture.h"
#ifndef _WIN32
#include <sys/stat.h>

#include "support/FileSizeLimit.h"
#endif

using ::testing::HasSubstr;

namespace {

template <typename Ecus>
class WindowRecording : public BehaviourTest<Ecus> {
protected:
    std::string Path() const { return (this->folder / "window.rec").string(); }
    // The recording, read as replay reads it; empty when the reader refused it.
    LineRecording Read() {
        std::string text;
        EXPECT_EQ(ReadRegularFile(Path(), text).Outcome, FileReadOutcome::Read);
        LineRecording recording;
        const auto fault = ParseRecording(text, recording);
        EXPECT_FALSE(fault) << fault->Line << ": " << fault->Message << "\n" << text;
        return recording;
    }
    std::vector<std::string> PortTexts(const LineRecording& recording) {
        std::vector<std::string> texts;
        for (const RecordedPort& port : recording.Ports) texts.push_back(port.Text);
        return texts;
    }
    struct Request {
        RecordedRequest Kind;
        bool Succeeded;
        std::size_t Port;  // the index of the port line it follows
    };
    // The requests played again, as replay plays them.
    std::vector<Request> Played(const LineRecording& recording) {
        std::vector<Request> requests;
        RecordingPlayer player(recording);
        PlayedRequest played;
        while (player.Next(played)) {
            EXPECT_FALSE(played.Mismatch);
            std::size_t port = 0;
            while (port + 1 < recording.Ports.size() &&
                   recording.Ports[port + 1].Line < played.Exchange.Line)
                ++port;
            requests.push_back({played.Request, played.Succeeded, port});
        }
        return requests;
    }
};
TYPED_TEST_SUITE(WindowRecording, EcuBenches, EcuBenchNames);

TYPED_TEST(WindowRecording, APollingSessionWithAPortChangePlaysBackItsRequests) {
    this->ecus.AddEcu("COM1");
    this->ecus.AddEcu("COM2");
    this->Open(this->Path());
    this->StartPolling();
    this->window->Timer1Timer();
    this->window->ComNumberChange("COM2");
    this->window->FormShortCut(40);
    this->window->Timer1Timer();
    this->window.reset();

    const LineRecording recording = this->Read();
    const auto ports = this->PortTexts(recording);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_THAT(ports[0], ::testing::StartsWith("COM1"));
    EXPECT_THAT(ports[1], ::testing::StartsWith("COM2"));
    EXPECT_EQ(recording.Ports[0].Before, 0u);
    // The probe at start, sixteen selections and two blocks on COM1; then
    // sixteen selections and a block on COM2, every one a success.
    const auto played = this->Played(recording);
    ASSERT_EQ(played.size(), 1u + 16 + 2 + 16 + 1);
    for (std::size_t i = 0; i < played.size(); ++i) {
        const RecordedRequest expected = i == 0 ? RecordedRequest::Probe
                                         : i == 17 || i == 18 || i == 35
                                             ? RecordedRequest::LiveBlock
                                             : RecordedRequest::Select;
        EXPECT_EQ(played[i].Kind, expected) << i;
        EXPECT_TRUE(played[i].Succeeded) << i;
        EXPECT_EQ(played[i].Port, i < 19 ? 0u : 1u) << i;
    }
}

TYPED_TEST(WindowRecording, AStartWithoutAnAnsweringPortAndAReopenAreSaidInTheRecording) {
    this->ecus.AddSilentPort("COM1");
    this->Open(this->Path());
    this->window.reset();
    std::string text;
    ReadRegularFile(this->Path(), text);
    EXPECT_THAT(text, HasSubstr("\n# no ECU answered on any port\nport COM1"));
    EXPECT_EQ(this->PortTexts(this->Read()).size(), 1u);
    EXPECT_TRUE(this->Played(this->Read()).empty());  // the probes are left out

    this->ecus.AddEcu("COM2");
    std::filesystem::remove(this->Path());  // an existing recording is not replaced
    this->Open(this->Path());
    this->StartPolling("COM2");
    this->ecus.Unplug("COM2");
    this->window->Timer1Timer();
    this->ecus.Replug("COM2");
    this->window->Timer1Timer();
    this->window.reset();
    const LineRecording recording = this->Read();
    const auto ports = this->PortTexts(recording);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_THAT(ports[0], ::testing::StartsWith("COM2"));
    EXPECT_THAT(ports[1], ::testing::StartsWith("COM2"));  // with the device it stands for now
    // The reopened port is probed before its set is selected again.
    const auto played = this->Played(recording);
    const auto reopened = std::find_if(played.begin(), played.end(),
                                       [](const auto& request) { return request.Port == 1; });
    ASSERT_LT(reopened + 1, played.end());
    EXPECT_EQ(reopened->Kind, RecordedRequest::Probe);
    EXPECT_TRUE(reopened->Succeeded);
    EXPECT_EQ((reopened + 1)->Kind, RecordedRequest::Select);
    EXPECT_FALSE((reopened - 1)->Succeeded) << "the block after the unplugging";
}

TYPED_TEST(WindowRecording, ARecordingThatCannotBeCreatedStopsTheStartBeforeAnythingIsSent) {
    this->ecus.AddEcu("COM1");
    try {
        this->Open((this->folder / "no-such-folder" / "window.rec").string());
        FAIL() << "started";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(StartUpFailureText(error), HasSubstr("window.rec cannot be created"));
    }
    EXPECT_TRUE(this->ecus.Frames("COM1").empty());
}

// An existing recording is kept, unless the user asked to replace it.
TYPED_TEST(WindowRecording, AnExistingRecordingIsReplacedOnlyWhenAskedTo) {
    this->ecus.AddEcu("COM1");
    WriteBytes(this->Path(), "notes of an earlier drive\n");
    EXPECT_THROW(this->Open(this->Path()), std::runtime_error);
    EXPECT_EQ(ReadBytes(this->Path()), "notes of an earlier drive\n");
    EXPECT_TRUE(this->ecus.Frames("COM1").empty());
    WindowBehaviour::Options options;
    options.Directory = this->folder.Path();
    options.RecordPath = this->Path();
    options.ForceRecording = true;
    this->window = std::make_unique<WindowBehaviour>(this->view, options, this->ecus.Port());
    this->window.reset();
    EXPECT_EQ(this->PortTexts(this->Read()).size(), 1u);
}

#ifndef _WIN32
TYPED_TEST(WindowRecording, AFailedWriteIsShownOnceAndPollingGoesOn) {
    this->ecus.AddEcu("COM1");
    // Room for the format line, not for the start's transfers.
    const FileSizeLimit full(64);
    this->Open(this->Path());
    ASSERT_EQ(this->view.Messages.size(), 1u);
    EXPECT_EQ(this->view.Messages[0].Text,
              "The recording into " + this->Path() + " stopped: File too large.");
    EXPECT_EQ(this->view.Messages[0].Kind, WindowView::Icon::Error);
    this->window->ADiagExecute();
    this->Tick();
    EXPECT_EQ(this->Tick().size(), 1u);
    EXPECT_EQ(this->view.Panels[1], "1");
    this->window.reset();
    EXPECT_EQ(this->view.Messages.size(), 1u);
}

// Fixed fault: a start that failed once the program knew of the session (so
// that a lost display could end it) ended the session twice when the display
// went while the session's own end showed a message. Here the end's write of
// the language fails and says so; the program ends the session under the box.
TYPED_TEST(WindowRecording, AStartThatFailsEndsItsSessionOnce) {
    this->ecus.AddEcu("COM1");
    const auto ini = this->folder / "database.ini";
    WriteBytes(ini, "[0000]\r\nCodeEn=NMOT\r\nAddress=100\r\n");
    ASSERT_EQ(::chmod(ini.c_str(), 0444), 0);
    for (const bool recordingRefused : {true, false}) {
        SCOPED_TRACE(recordingRefused ? "the recording refused" : "a failure after the session");
        WriteBytes(this->Path(), "an earlier drive\n");
        this->view.Messages.clear();
        WindowBehaviour* told = nullptr;
        this->view.WhileShown = [&told] {
            if (told) told->EndWithoutMessages();
        };
        WindowBehaviour::Options options;
        options.Directory = this->folder.Path();
        options.RecordPath = this->Path();
        options.ForceRecording = !recordingRefused;
        options.SessionMade = [&told, recordingRefused](WindowBehaviour& behaviour) {
            told = &behaviour;
            if (!recordingRefused) throw std::runtime_error("the display is gone");
        };
        EXPECT_THROW(WindowBehaviour(this->view, options, this->ecus.Port()), std::runtime_error);
        ASSERT_EQ(this->view.Messages.size(), 1u);
        EXPECT_THAT(this->view.Messages[0].Text, HasSubstr("Unable to write to "));
    }
}
#endif

}  // namespace
