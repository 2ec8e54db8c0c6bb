#pragma once
// An ECU that answers as a recording says, so that a session seen on an engine
// can be run again on the bench: each request gets the reply recorded for it,
// in order. The first request that is not the one recorded next, and the first
// after the recording is used up, ends the answers for good: past that point
// the recording says nothing of what the ECU would have sent. Not thread-safe;
// the simulator guards it.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/RequestFrame.h"
#include "recording/RecordingPlayback.h"
#include "sim/ReplyEncoding.h"

class RecordedEcu {
public:
    // `stopped` hears once why the answers ended.
    RecordedEcu(std::vector<RecordedExchange> exchanges,
                std::function<void(const std::string&)> stopped)
        : exchanges_(std::move(exchanges)), stopped_(std::move(stopped)) {}

    // The recorded reply (empty when none came) to the request recorded next;
    // nothing once the requests went another way.
    std::optional<ReplyBytes> Answer(const RequestFrame& frame);

    std::size_t Answered() const { return next_; }

private:
    void Stop(const std::string& why);

    std::vector<RecordedExchange> exchanges_;
    std::function<void(const std::string&)> stopped_;
    std::size_t next_ = 0;
    bool over_ = false;
};
