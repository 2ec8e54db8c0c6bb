#pragma once
// Where the core reports the texts of its modal "Error" message boxes. The
// window shows them in a message box; the command-line tool prints them.

#include <cstdio>
#include <string>

class MessageSink {
public:
    virtual ~MessageSink() = default;

    // One message; the text is cp1251 (in practice plain ASCII).
    virtual void ShowError(const std::string& text) = 0;
};

// Prints each message as one line on standard error.
class StderrSink : public MessageSink {
public:
    void ShowError(const std::string& text) override {
        std::fprintf(stderr, "Error: %s\n", text.c_str());
    }
};
