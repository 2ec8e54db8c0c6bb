#pragma once
// The line object on any byte link (scripted bytes, say): one port, "COM1",
// that opens at once and never hangs up.

#include <memory>
#include <string>
#include <vector>

#include "line/EcuLine.h"
#include "serial/PortLink.h"

class LinkPort : public PortLink {
public:
    explicit LinkPort(ByteLink& link) : link_(link) {}

    void ListPorts() override {}
    const std::vector<std::string>& PortNames() const override { return names_; }
    OpenResult Open(const std::string&) override {
        if (open_) return {OpenOutcome::AlreadyOpen, {}, {}, {}};
        open_ = true;
        return {OpenOutcome::Opened, {}, {}, {}};
    }
    bool Close() override {
        open_ = false;
        return true;
    }
    bool IsOpen() const override { return open_; }
    bool IsHungUp() const override { return false; }
    const std::string& Name() const override { return names_.front(); }
    const std::string& Device() const override { return names_.front(); }
    bool Reopen() override { return false; }
    void LetGoOfDevice() override {}

    std::optional<std::uint8_t> ReadByte() override { return link_.ReadByte(); }
    std::size_t Read(std::uint8_t* buffer, std::size_t n) override { return link_.Read(buffer, n); }
    std::size_t Write(std::uint8_t* buffer, std::size_t n) override {
        return link_.Write(buffer, n);
    }
    void Purge() override { link_.Purge(); }

private:
    ByteLink& link_;
    bool open_ = false;
    const std::vector<std::string> names_{"COM1"};
};

// A line object over `link`, open.
inline std::unique_ptr<EcuLine> LineOver(MessageSink& sink, ByteLink& link) {
    auto line = std::make_unique<EcuLine>(sink, std::make_unique<LinkPort>(link));
    line->Open("COM1");
    return line;
}
