#include "presentation/PortSearchMessages.h"

#include <algorithm>

void PortSearchMessages::ShowError(const std::string& text) {
    if (holding_)
        held_.push_back(text);
    else
        Say(text);
}

void PortSearchMessages::Hold() {
    holding_ = true;
}

void PortSearchMessages::Release(const PortDetection& detection) {
    holding_ = false;
    std::vector<std::string> left = std::move(held_);
    held_.clear();
    for (const PortProbe& probe : detection.Tried)
        for (const std::string& said : probe.Messages)
            if (const auto it = std::find(left.begin(), left.end(), said); it != left.end())
                left.erase(it);
    for (const std::string& text : left) Say(text);
}
