#include "window/LogExtremes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

void Widen(LogRange& range, double low, double high) {
    range.Low = std::min(range.Low, low);
    range.High = std::max(range.High, high);
}

}  // namespace

LogExtremes::LogExtremes(const std::vector<double>& values)
    : values_(values), head_(values.size()), tail_(values.size()) {
    const std::size_t blocks = (values.size() + BlockRows - 1) / BlockRows;
    // Level k has a run starting at each block that has 2^k blocks from it.
    std::size_t size = 0;
    for (std::size_t width = 1; width <= blocks; width *= 2) {
        levelStart_.push_back(size);
        size += blocks - width + 1;
    }
    runs_.assign(size, LogRange{Infinity, -Infinity});
    for (std::size_t block = 0; block < blocks; ++block) {
        const std::size_t start = block * BlockRows;
        const std::size_t end = std::min(values.size(), start + BlockRows);
        // The row taken into where the block's lowest and highest so far lie.
        const auto take = [&values, start](Where& where, std::size_t row) {
            const double value = values[row];
            if (!std::isfinite(value)) return;
            const auto at = static_cast<std::uint8_t>(row - start);
            if (where.Low == None || value < values[start + where.Low]) where.Low = at;
            if (where.High == None || value > values[start + where.High]) where.High = at;
        };
        Where where;
        for (std::size_t row = start; row < end; ++row) {
            take(where, row);
            head_[row] = where;
        }
        where = {};
        for (std::size_t row = end; row-- > start;) {
            take(where, row);
            tail_[row] = where;
        }
        Widen(runs_[block], block, where);
    }
    for (std::size_t level = 1; level < levelStart_.size(); ++level) {
        const LogRange* below = runs_.data() + levelStart_[level - 1];
        const std::size_t half = std::size_t{1} << (level - 1);
        for (std::size_t block = 0; block + 2 * half <= blocks; ++block) {
            LogRange& run = runs_[levelStart_[level] + block];
            run = below[block];
            ::Widen(run, below[block + half].Low, below[block + half].High);
        }
    }
}

void LogExtremes::Widen(LogRange& range, std::size_t block, Where where) const {
    const std::size_t start = block * BlockRows;
    if (where.Low != None) range.Low = std::min(range.Low, values_[start + where.Low]);
    if (where.High != None) range.High = std::max(range.High, values_[start + where.High]);
}

std::optional<LogRange> LogExtremes::Over(LogRows rows) const {
    const std::size_t last = std::min<std::size_t>(rows.Last, values_.size());
    if (rows.First >= last) return {};
    LogRange range{Infinity, -Infinity};
    const std::size_t first = rows.First;
    const std::size_t firstBlock = first / BlockRows, lastBlock = (last - 1) / BlockRows;
    if (firstBlock == lastBlock) {
        for (std::size_t row = first; row < last; ++row)
            if (std::isfinite(values_[row])) ::Widen(range, values_[row], values_[row]);
    } else {
        Widen(range, firstBlock, tail_[first]);
        Widen(range, lastBlock, head_[last - 1]);
        if (const std::size_t between = lastBlock - firstBlock - 1; between > 0) {
            const auto level = static_cast<std::size_t>(std::bit_width(between)) - 1;
            const LogRange* runs = runs_.data() + levelStart_[level];
            const LogRange& front = runs[firstBlock + 1];
            const LogRange& back = runs[lastBlock - (std::size_t{1} << level)];
            ::Widen(range, std::min(front.Low, back.Low), std::max(front.High, back.High));
        }
    }
    if (range.Low > range.High) return {};
    return range;
}

const LogExtremes& LogIndex::Of(std::size_t column) {
    std::unique_ptr<LogExtremes>& extremes = columns_.at(column);
    if (!extremes) extremes = std::make_unique<LogExtremes>(table_.Columns()[column].Values);
    return *extremes;
}
