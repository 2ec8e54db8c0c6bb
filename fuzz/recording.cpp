// Any bytes as a line recording: reading must not fault; a text it accepts
// reads back the same when written out again as the recorder writes it, and
// so does the whole part of one cut short; read in pieces of any size, a text
// is judged as when it is read whole; and its requests play through the
// tool's exchanges and the live values without a fault, however the
// transfers fit the requests.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "recording/LineRecording.h"
#include "recording/RecordedLiveValues.h"
#include "recording/RecordingPlayback.h"
#include "recording/RecordingReader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameFault(const std::optional<RecordingFault>& a, const std::optional<RecordingFault>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->Line == b->Line && a->Message == b->Message));
}

bool SameTransfers(const LineRecording& a, const LineRecording& b) {
    if (a.Started != b.Started) return false;
    if (a.Ports.size() != b.Ports.size() || a.Transfers.size() != b.Transfers.size()) return false;
    for (std::size_t i = 0; i < a.Ports.size(); ++i)
        if (a.Ports[i].Text != b.Ports[i].Text || a.Ports[i].Before != b.Ports[i].Before)
            return false;
    for (std::size_t i = 0; i < a.Transfers.size(); ++i) {
        const RecordedTransfer& x = a.Transfers[i];
        const RecordedTransfer& y = b.Transfers[i];
        if (x.What != y.What || x.Micros != y.Micros || x.Asked != y.Asked || x.Bytes != y.Bytes)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const DefinitionDatabase definitions("/nonexistent/vmx-fuzz/database.ini");
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // In pieces whose sizes the text's own bytes choose.
    LineRecording pieces;
    RecordingReader reader(pieces);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = 1 + static_cast<std::uint8_t>(text[at]) % 61;
        reader.Take(text.substr(at, length));
        at += length;
    }
    reader.Finish();
    if (reader.Fault()) {
        Check(pieces.Transfers.empty());
    } else {
        LineRecording again;
        Check(!ParseRecording(RecordingText(pieces), again));
        Check(SameTransfers(pieces, again));
    }

    LineRecording recording;
    if (const auto fault = ParseRecording(text, recording)) {
        Check(fault->Line >= 1 && !fault->Message.empty());
        Check(recording.Transfers.empty());
        Check(SameFault(fault, reader.Fault() ? reader.Fault() : reader.CutShort()));
        return 0;
    }
    Check(!reader.Fault() && !reader.CutShort());
    Check(SameTransfers(recording, pieces));
    LineRecording again;
    Check(!ParseRecording(RecordingText(recording), again));
    Check(SameTransfers(recording, again));

    (void)RecordedExchanges(recording);
    RecordingPlayer player(recording);
    RecordedLiveValues live(definitions);
    PlayedRequest played;
    std::size_t requests = 0;
    while (player.Next(played)) {
        Check(++requests <= recording.Transfers.size());
        if (played.Request == RecordedRequest::Select)
            live.Select(played.Slot, played.Address, played.Status, player.Ecu().SelectionAnswer);
        if (played.Request == RecordedRequest::LiveBlock && played.Succeeded)
            live.ComputeValues(player.Buffer().data());
    }
    return 0;
}
