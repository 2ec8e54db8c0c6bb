#include "window/Trend.h"

#include <algorithm>

void Trend::Series::Add(Point point) {
    point.Joined = !broken_ && size_ > 0;
    broken_ = false;
    if (size_ < Capacity) {
        points_[(head_ + size_++) % Capacity] = point;
        return;
    }
    points_[head_] = point;  // over the oldest
    head_ = (head_ + 1) % Capacity;
}

std::size_t Trend::Series::FirstFrom(double seconds) const {
    std::size_t low = 0, high = size_;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (At(middle).Seconds < seconds)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void Trend::Add(double seconds, const ParameterSets& sets) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        Series& series = series_[static_cast<std::size_t>(slot)];
        if (const auto value = ShownValue(sets, slot))
            series.Add({seconds, *value});
        else
            series.Break();
    }
    now_ = std::max(now_, seconds);
}

void Trend::Lapse(double seconds) {
    for (Series& series : series_) series.Break();
    now_ = std::max(now_, seconds);
}

void Trend::Clear() {
    for (Series& series : series_) series.Clear();
}

void Trend::Choose(const std::vector<int>& rows) {
    chosen_.clear();
    for (int slot : rows) {
        if (chosen_.size() == MostChosen) break;
        if (slot >= 0 && slot < SlotCount) chosen_.push_back(slot);
    }
}
