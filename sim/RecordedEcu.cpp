#include "sim/RecordedEcu.h"

#include <algorithm>

#include "recording/LineRecording.h"

std::optional<ReplyBytes> RecordedEcu::Answer(const RequestFrame& frame) {
    if (over_) return std::nullopt;
    const std::string request = HexBytes(frame.Bytes.data(), frame.Bytes.size());
    if (next_ >= exchanges_.size()) {
        Stop("the recording is used up after " + std::to_string(next_) + " requests; " + request +
             " and the requests after it go unanswered");
        return std::nullopt;
    }
    const RecordedExchange& expected = exchanges_[next_];
    if (!std::equal(frame.Bytes.begin(), frame.Bytes.end(), expected.Sent.begin(),
                    expected.Sent.end())) {
        Stop("request " + std::to_string(next_ + 1) + " is " + request +
             ", but the recording has " + HexBytes(expected.Sent.data(), expected.Sent.size()) +
             " (line " + std::to_string(expected.Line) + "); no more answers");
        return std::nullopt;
    }
    ++next_;
    return expected.Reply;
}

void RecordedEcu::Stop(const std::string& why) {
    over_ = true;
    if (stopped_) stopped_(why);
}
