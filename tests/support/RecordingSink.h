#pragma once
// A MessageSink that keeps every message, for tests that check what the user
// would have been shown.

#include <string>
#include <vector>

#include "platform/MessageSink.h"

class RecordingSink : public MessageSink {
public:
    void ShowError(const std::string& text) override { Messages.push_back(text); }
    std::vector<std::string> Messages;
};
