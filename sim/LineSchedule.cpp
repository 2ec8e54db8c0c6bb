#include "sim/LineSchedule.h"

#include <algorithm>

LineSchedule::Clock::time_point LineSchedule::Occupy(Clock::time_point earliest) {
    wireFree_ = std::max(earliest, wireFree_) + byteTime_;
    return wireFree_;
}

void LineSchedule::Receive(std::uint8_t byte, Clock::time_point arrival, bool echo) {
    Clock::time_point done = Occupy(arrival);
    if (echo) queue_.push_back({byte, done});
}

void LineSchedule::Send(const std::vector<std::uint8_t>& bytes, Clock::duration delay) {
    // A reply never starts before the request that caused it has been taken in.
    Clock::time_point start = std::max(wireFree_, Clock::now()) + delay;
    for (std::uint8_t byte : bytes) {
        queue_.push_back({byte, Occupy(start)});
    }
    wireFree_ = std::max(wireFree_, start);
}

void LineSchedule::HangUpWhenSent() {
    queue_.push_back({std::nullopt, std::max(wireFree_, Clock::now())});
}

LineSchedule::Due LineSchedule::TakeDue(Clock::time_point now) {
    Due due;
    while (!queue_.empty() && queue_.front().At <= now) {
        Pending next = queue_.front();
        queue_.pop_front();
        if (!next.Byte) {
            due.HangUp = true;
            queue_.clear();
            break;
        }
        due.Bytes.push_back(*next.Byte);
    }
    return due;
}

std::optional<LineSchedule::Clock::time_point> LineSchedule::NextDue() const {
    if (queue_.empty()) return std::nullopt;
    return queue_.front().At;
}
