#include "sim/posix/EcuSimulator.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>

#include "sim/EcuResponder.h"
#include "sim/FrameAssembler.h"
#include "sim/LineSchedule.h"
#include "sim/RecordedEcu.h"
#include "sim/posix/FileDescriptor.h"
#include "sim/posix/PseudoTerminal.h"

using Clock = LineSchedule::Clock;

namespace {

// Removes folders that were made, the innermost first, when they are empty:
// one that someone else put something in stays, and so do those around it.
void RemoveEmptyFolders(const std::vector<std::filesystem::path>& outermostFirst) {
    for (auto folder = outermostFirst.rbegin(); folder != outermostFirst.rend(); ++folder) {
        std::error_code ec;
        if (std::filesystem::is_directory(std::filesystem::symlink_status(*folder, ec)) &&
            std::filesystem::is_empty(*folder, ec) && !ec)
            std::filesystem::remove(*folder, ec);
    }
}

}  // namespace

struct EcuSimulator::Impl {
    explicit Impl(Options options);
    ~Impl();

    void Serve();
    void ReadMaster();
    void OnBytes(const std::uint8_t* bytes, std::size_t count, Clock::time_point arrival);
    void QueueReply(std::uint8_t command, ReplyBytes reply);
    void WriteDue();
    void CloseLine();
    void Wake();
    double Seconds(Clock::time_point at) const;

    const std::optional<double> frozenSeconds;
    const bool liftsExclusiveMark;
    const Clock::time_point start = Clock::now();
    PseudoTerminal pty;  // used by the serving thread only, once it runs
    FileDescriptor wake;
    std::vector<std::filesystem::path> links;
    std::vector<std::filesystem::path> madeFolders;  // for the links, outermost first

    mutable std::mutex mutex;
    std::condition_variable hungUpChanged;
    EcuResponder responder;
    std::optional<RecordedEcu> recorded;
    SimFaults faults;
    FrameAssembler assembler;
    LineSchedule schedule;
    std::vector<RequestFrame> frames;
    std::size_t bytesReceived = 0;
    // What a lagging line still owes the tool (see SimFaults::LateLine).
    std::vector<std::uint8_t> held;
    Clock::time_point lastActivity = start;
    bool stopRequested = false;
    bool hangUpRequested = false;
    bool hungUp = false;

    std::thread thread;  // started last, once everything above exists
};

EcuSimulator::Impl::Impl(Options options)
    : frozenSeconds(options.FrozenLiveSeconds),
      liftsExclusiveMark(options.LiftsExclusiveMark),
      wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      schedule(options.Paced ? LineSchedule::ByteTime38400 : Clock::duration::zero()) {
    if (!wake.IsOpen()) {
        throw std::system_error(errno, std::generic_category(), "Simulator: eventfd failed");
    }
    responder.State = std::move(options.State);
    if (options.Replay)
        recorded.emplace(std::move(*options.Replay), std::move(options.ReplayStopped));
    thread = std::thread([this] { Serve(); });
}

EcuSimulator::Impl::~Impl() {
    {
        std::lock_guard lock(mutex);
        stopRequested = true;
    }
    Wake();
    if (thread.joinable()) thread.join();
    for (const auto& link : links) {
        std::error_code ec;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(link, ec)) &&
            std::filesystem::read_symlink(link, ec) == pty.SlavePath()) {
            std::filesystem::remove(link, ec);
        }
    }
    RemoveEmptyFolders(madeFolders);
}

void EcuSimulator::Impl::Wake() {
    std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(wake.Get(), &one, sizeof one);
}

double EcuSimulator::Impl::Seconds(Clock::time_point at) const {
    if (frozenSeconds) return *frozenSeconds;
    return std::chrono::duration<double>(at - start).count();
}

void EcuSimulator::Impl::Serve() {
    // The default timer slack of 50 us would blur a byte time of 260 us.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    for (;;) {
        WriteDue();
        std::optional<Clock::time_point> next;
        {
            std::lock_guard lock(mutex);
            next = schedule.NextDue();
        }
        timespec timeout{};
        if (next) {
            auto wait = std::max(Clock::duration::zero(), *next - Clock::now());
            auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        }
        std::array<pollfd, 3> fds{{{wake.Get(), POLLIN, 0},
                                   {pty.MasterFd(), POLLIN, 0},
                                   {pty.CloseWatchFd(), POLLIN, 0}}};
        if (::ppoll(fds.data(), fds.size(), next ? &timeout : nullptr, nullptr) < 0) {
            if (errno == EINTR) continue;
            CloseLine();
            return;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] auto got = ::read(wake.Get(), &count, sizeof count);
            bool stop = false;
            bool hangUp = false;
            {
                std::lock_guard lock(mutex);
                stop = stopRequested;
                hangUp = std::exchange(hangUpRequested, false);
            }
            if (stop) return;
            if (hangUp) CloseLine();
        }
        if (pty.IsHungUp()) continue;
        if (fds[2].revents & POLLIN) pty.OnSlaveClosed(liftsExclusiveMark);
        if (fds[1].revents & POLLIN) {
            ReadMaster();
        } else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            CloseLine();
        }
    }
}

void EcuSimulator::Impl::ReadMaster() {
    std::array<std::uint8_t, 256> buffer;
    for (;;) {
        ssize_t got = ::read(pty.MasterFd(), buffer.data(), buffer.size());
        if (got > 0) {
            OnBytes(buffer.data(), static_cast<std::size_t>(got), Clock::now());
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        // The held slave rules out a normal end of input; the line itself is gone.
        CloseLine();
        return;
    }
}

void EcuSimulator::Impl::OnBytes(const std::uint8_t* bytes, std::size_t count,
                                 Clock::time_point arrival) {
    std::lock_guard lock(mutex);
    lastActivity = arrival;
    for (std::size_t i = 0; i < count; ++i) {
        ++bytesReceived;
        const std::size_t position = assembler.Filled();
        if (position == 0 && bytes[i] == FrameHeader && !held.empty()) {
            schedule.Send(held, Clock::duration::zero());
            held.clear();
        }
        const bool cut = faults.PartialEcho && position >= 2 &&
                         position >= faults.PartialEcho->Bytes &&
                         assembler.Pending().Bytes[1] == faults.PartialEcho->Command;
        const bool echo = !faults.NoEcho && !cut;
        schedule.Receive(bytes[i], arrival, echo && !faults.LateLine);
        if (echo && faults.LateLine) held.push_back(bytes[i]);
        std::optional<RequestFrame> frame = assembler.Push(bytes[i]);
        if (!frame) continue;
        frames.push_back(*frame);
        std::optional<ReplyBytes> reply =
            recorded ? recorded->Answer(*frame) : responder.Answer(*frame, Seconds(arrival));
        if (reply) {
            QueueReply(frame->Bytes[1], std::move(*reply));
        }
    }
}

void EcuSimulator::Impl::QueueReply(std::uint8_t command, ReplyBytes reply) {
    std::vector<std::uint8_t> out;
    if (faults.Silent || faults.Unanswered.contains(command)) {
        reply.clear();
    } else {
        if (faults.FirstByte && !reply.empty()) reply[0] = *faults.FirstByte;
        reply.resize(reply.size() - std::min(faults.ShortBy, reply.size()));
        out = faults.Garbage;
    }
    std::optional<std::size_t> hangUpAfter = std::exchange(faults.HangUpAfter, std::nullopt);
    if (hangUpAfter) reply.resize(std::min(*hangUpAfter, reply.size()));
    out.insert(out.end(), reply.begin(), reply.end());
    if (faults.LateLine) {
        held.insert(held.end(), out.begin(), out.end());
        return;
    }
    schedule.Send(out, faults.Delay);
    if (hangUpAfter) schedule.HangUpWhenSent();
}

void EcuSimulator::Impl::WriteDue() {
    LineSchedule::Due due;
    {
        std::lock_guard lock(mutex);
        const Clock::time_point now = Clock::now();
        due = schedule.TakeDue(now);
        if (!due.Bytes.empty()) lastActivity = now;
    }
    if (!due.Bytes.empty() && !pty.IsHungUp()) {
        // A full input queue on the tool's side drops bytes, as an unread line does.
        [[maybe_unused]] auto written = ::write(pty.MasterFd(), due.Bytes.data(), due.Bytes.size());
    }
    if (due.HangUp) CloseLine();
}

void EcuSimulator::Impl::CloseLine() {
    // Under the lock, so that whoever sees the line end also sees IsHungUp.
    std::lock_guard lock(mutex);
    pty.HangUp();
    hungUp = true;
    hungUpChanged.notify_all();
}

EcuSimulator::EcuSimulator(Options options) : impl_(std::make_unique<Impl>(std::move(options))) {}

EcuSimulator::EcuSimulator() : EcuSimulator(Options{}) {}

EcuSimulator::~EcuSimulator() = default;

const std::string& EcuSimulator::DevicePath() const {
    return impl_->pty.SlavePath();
}

void EcuSimulator::CreateLink(const std::filesystem::path& link) {
    // The folders that are not there yet, the outermost first; they go again
    // with the link.
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path folder = link.parent_path();
         !folder.empty() && !std::filesystem::exists(std::filesystem::symlink_status(folder));
         folder = folder.parent_path()) {
        missing.insert(missing.begin(), folder);
        if (folder == folder.parent_path()) break;
    }
    try {
        for (const auto& folder : missing) std::filesystem::create_directory(folder);
        // A link left behind by a simulator that did not stop cleanly is replaced.
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(link))) {
            std::filesystem::remove(link);
        }
        std::filesystem::create_symlink(DevicePath(), link);
    } catch (...) {
        RemoveEmptyFolders(missing);
        throw;
    }
    std::lock_guard lock(impl_->mutex);
    impl_->links.push_back(link);
    impl_->madeFolders.insert(impl_->madeFolders.end(), missing.begin(), missing.end());
}

void EcuSimulator::LiftExclusiveMark() {
    std::lock_guard lock(impl_->mutex);
    impl_->pty.LiftExclusiveMark();
}

EcuState EcuSimulator::State() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->responder.State;
}

void EcuSimulator::SetState(const EcuState& state) {
    std::lock_guard lock(impl_->mutex);
    impl_->responder.State = state;
}

void EcuSimulator::SetFaults(const SimFaults& faults) {
    std::lock_guard lock(impl_->mutex);
    impl_->faults = faults;
}

void EcuSimulator::SetErrorBitmap(const std::array<std::uint8_t, 16>& bitmap) {
    std::lock_guard lock(impl_->mutex);
    impl_->responder.State.ErrorBitmap = bitmap;
}

std::array<std::uint8_t, 16> EcuSimulator::ErrorBitmap() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->responder.State.ErrorBitmap;
}

void EcuSimulator::SetLiveValue(std::uint16_t address, std::uint16_t word) {
    std::lock_guard lock(impl_->mutex);
    impl_->responder.FixedWords[address] = word;
}

void EcuSimulator::AddLiveAddress(std::uint16_t address, std::uint16_t word) {
    SetLiveValue(address, word);
}

bool EcuSimulator::KnowsAddress(std::uint16_t address) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->responder.KnowsAddress(address);
}

std::optional<std::uint16_t> EcuSimulator::SlotAddress(std::uint8_t slot) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->responder.SlotAddress(slot);
}

void EcuSimulator::RefuseSlot(std::uint8_t slot, std::uint8_t status) {
    std::lock_guard lock(impl_->mutex);
    if (slot < impl_->responder.Refusals.size()) impl_->responder.Refusals[slot] = status;
}

void EcuSimulator::ClearRefusals() {
    std::lock_guard lock(impl_->mutex);
    impl_->responder.Refusals = {};
}

std::vector<RequestFrame> EcuSimulator::ReceivedFrames() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->frames;
}

std::size_t EcuSimulator::BytesReceived() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->bytesReceived;
}

void EcuSimulator::ClearLog() {
    std::lock_guard lock(impl_->mutex);
    impl_->frames.clear();
    impl_->bytesReceived = 0;
}

bool EcuSimulator::WaitForQuietLine(std::chrono::milliseconds quiet,
                                    std::chrono::milliseconds limit) {
    const Clock::time_point end = Clock::now() + limit;
    for (;;) {
        {
            std::lock_guard lock(impl_->mutex);
            const Clock::time_point now = Clock::now();
            if (!impl_->schedule.NextDue() && now - impl_->lastActivity >= quiet &&
                !impl_->pty.HasUnreadInput() && !impl_->pty.IsExclusive())
                return true;
            if (now >= end) return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void EcuSimulator::HangUp() {
    {
        std::lock_guard lock(impl_->mutex);
        if (impl_->hungUp) return;
        impl_->hangUpRequested = true;
    }
    impl_->Wake();
    std::unique_lock lock(impl_->mutex);
    // The serving thread closes the line; it only fails to if it is gone already.
    impl_->hungUpChanged.wait_for(lock, std::chrono::seconds(2), [&] { return impl_->hungUp; });
}

bool EcuSimulator::IsHungUp() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->hungUp;
}
