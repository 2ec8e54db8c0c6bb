#pragma once
// The line's messages while ports are searched, for a front end that says
// each port's trouble in one sentence with the port (PortTrouble): the
// messages a port gave as it opened would otherwise be said twice. They are
// held back during the search; when it is over, what no port tried said (a
// port that would not close) is passed on, in order.

#include <string>
#include <vector>

#include "line/PortDetection.h"
#include "platform/MessageSink.h"

class PortSearchMessages : public MessageSink {
public:
    // Passed on at once, or held while a search goes on.
    void ShowError(const std::string& text) final;

    void Hold();
    // Ends the holding: each message held is passed on unless a port tried in
    // `detection` said it (each port's message counts once).
    void Release(const PortDetection& detection);

protected:
    // Tells the user one message.
    virtual void Say(const std::string& text) = 0;

private:
    bool holding_ = false;
    std::vector<std::string> held_;
};
