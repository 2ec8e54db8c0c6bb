#pragma once
// The trend of a parameter set: each slot's values over the last minutes, in
// a ring of bounded size (hours of polling never grow it), and the rows the
// trend window plots. Reads that fail, or ticks of another page, break the
// curves there, and the time axis goes on to the present all the same.

#include <array>
#include <cstddef>
#include <vector>

#include "database/ParameterSets.h"

class Trend {
public:
    // More than the six minutes the plot of five may show, at the shortest
    // tick (the 220 ms and an exchange of some milliseconds).
    static constexpr std::size_t Capacity = 2000;
    static constexpr std::size_t MostChosen = 4;

    struct Point {
        double Seconds = 0.0;  // since the trend began
        double Value = 0.0;
        // Drawn joined to the point before it: false for the first value after
        // a lapse, where the curve was broken.
        bool Joined = true;
    };

    // The values of one slot, oldest first; the oldest are dropped at Capacity.
    class Series {
    public:
        void Add(Point point);
        // No value came when one was due: the next point begins a new piece.
        void Break() { broken_ = true; }
        void Clear() {
            size_ = 0;
            broken_ = false;
        }
        std::size_t Size() const { return size_; }
        // The i-th oldest point, i < Size().
        const Point& At(std::size_t i) const { return points_[(head_ + i) % Capacity]; }
        const Point& Latest() const { return At(size_ - 1); }
        // The latest value is not the present one: reads failed since it came.
        bool Broken() const { return broken_; }
        // The index of the oldest point at or after `seconds` (Size() when
        // none is): the points are in time order.
        std::size_t FirstFrom(double seconds) const;

    private:
        std::array<Point, Capacity> points_{};
        std::size_t head_ = 0;  // the oldest point
        std::size_t size_ = 0;
        bool broken_ = false;
    };

    // Every slot's value of a good read, at `seconds`; a slot without a value
    // (its selection was refused) breaks its curve instead.
    void Add(double seconds, const ParameterSets& sets);
    // No values at `seconds` (the read failed, another page was polled, or
    // polling was off): every curve breaks after its latest point, and the
    // plot reaches to that moment.
    void Lapse(double seconds);
    // The values go, the rows chosen and the present stay.
    void Clear();
    const Series& Of(int slot) const { return series_[static_cast<std::size_t>(slot)]; }
    // The latest moment the trend was told of, read or not.
    double Now() const { return now_; }

    // The rows to plot, in the order given; the first MostChosen of them that
    // are rows of the set.
    void Choose(const std::vector<int>& rows);
    const std::vector<int>& Chosen() const { return chosen_; }

    // How far back the plot reaches at least: 60 seconds or 5 minutes.
    int PeriodSeconds = 60;
    // The moment the trend's seconds count from, in seconds since 1970 (the
    // system clock's): the plot labels its grid with the time of day.
    double OriginSeconds = 0.0;

private:
    std::array<Series, SlotCount> series_{};
    std::vector<int> chosen_;
    double now_ = 0.0;
};
