#pragma once
// A byte link with scripted bytes, for exact and instant protocol tests (and
// the fuzz targets). Every Write puts its echo (unless switched off) and then
// the next scripted reply behind whatever is still waiting, as a line to a real
// ECU would. Everything the tool does is logged.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "serial/ByteLink.h"

class ScriptedLink : public ByteLink {
public:
    using Bytes = std::vector<std::uint8_t>;

    struct Event {
        enum Kind { Purge, Write } What;
        Bytes Sent;  // the bytes of a Write
    };

    bool Echo = true;
    std::deque<std::uint8_t> Waiting;  // bytes in the input queue now
    std::deque<Bytes> Replies;         // one reply per later Write, in order
    std::deque<Bytes> LateReplies;     // one per later Write, arriving after its echo read-back
    std::vector<Event> Log;

    void QueueReply(Bytes reply) { Replies.push_back(std::move(reply)); }
    // The replies a fuzzer's bytes give: each run of bytes between two 0xA5
    // bytes (and before the first, and after the last) is one reply.
    void QueueReplies(const std::uint8_t* bytes, std::size_t size) {
        Bytes reply;
        for (std::size_t i = 0; i < size; ++i) {
            if (bytes[i] == 0xA5) {
                QueueReply(reply);
                reply.clear();
            } else {
                reply.push_back(bytes[i]);
            }
        }
        QueueReply(reply);
    }

    // The frames written so far, in order.
    std::vector<Bytes> Sent() const {
        std::vector<Bytes> frames;
        for (const auto& event : Log)
            if (event.What == Event::Write) frames.push_back(event.Sent);
        return frames;
    }
    std::size_t Purges() const {
        return static_cast<std::size_t>(std::count_if(
            Log.begin(), Log.end(), [](const Event& e) { return e.What == Event::Purge; }));
    }

    std::optional<std::uint8_t> ReadByte() override {
        if (Waiting.empty()) return std::nullopt;
        const std::uint8_t byte = Waiting.front();
        Waiting.pop_front();
        return byte;
    }

    std::size_t Read(std::uint8_t* buffer, std::size_t n) override {
        const std::size_t count = std::min(n, Waiting.size());
        for (std::size_t i = 0; i < count; ++i) {
            buffer[i] = Waiting.front();
            Waiting.pop_front();
        }
        return count;
    }

    std::size_t Write(std::uint8_t* buffer, std::size_t n) override {
        Log.push_back({Event::Write, Bytes(buffer, buffer + n)});
        if (Echo) Waiting.insert(Waiting.end(), buffer, buffer + n);
        if (!Replies.empty()) {
            Waiting.insert(Waiting.end(), Replies.front().begin(), Replies.front().end());
            Replies.pop_front();
        }
        const std::size_t echoed = Read(buffer, n);
        if (!LateReplies.empty()) {
            Waiting.insert(Waiting.end(), LateReplies.front().begin(), LateReplies.front().end());
            LateReplies.pop_front();
        }
        return echoed;
    }

    void Purge() override {
        Log.push_back({Event::Purge, {}});
        Waiting.clear();
    }
};
