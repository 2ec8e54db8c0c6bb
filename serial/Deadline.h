#pragma once
// A moment on the monotonic clock by which a wait must end. Transfers measure
// their budgets with it, so a change of the wall clock cannot stretch a wait.

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

class Deadline {
public:
    using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC

    explicit Deadline(Clock::duration fromNow) : end_(Clock::now() + fromNow) {}

    bool Passed() const { return Clock::now() >= end_; }
    // Sleeps for `length`, but not past the deadline.
    void SleepAtMost(Clock::duration length) const {
        const auto until = std::min(Clock::now() + length, end_);
        if (until > Clock::now()) std::this_thread::sleep_until(until);
    }

    // What is left; zero once passed.
    Clock::duration Left() const { return std::max(end_ - Clock::now(), Clock::duration::zero()); }

    // What is left, as ppoll() takes it; zero once passed.
    timespec Remaining() const {
        const auto left = end_ - Clock::now();
        if (left <= Clock::duration::zero()) return timespec{0, 0};
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        return timespec{static_cast<std::time_t>(ns / 1'000'000'000),
                        static_cast<long>(ns % 1'000'000'000)};
    }

private:
    Clock::time_point end_;
};
