#pragma once
// The lowest and highest finite value of a log's column over any rows, in a
// time that does not depend on how many rows: the decimated curve asks it
// once for each pixel column, so that a day's log draws as fast as a minute
// of it, and the legend asks it for the span on view.
//
// The rows are cut into blocks of 64. Each row knows where, in its block, the
// extremes from the block's start up to it and from it to the block's end
// lie (a byte each); the blocks' extremes are kept for runs of 1, 2, 4, ...
// blocks. A stretch of rows is then its first block's tail, its last block's
// head and two overlapping runs of whole blocks between. Memory: 4 bytes a
// row, and some 16 bytes a block for each doubling.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "window/LogTable.h"

class LogExtremes {
public:
    // Made once for a column; the values must not change afterwards.
    explicit LogExtremes(const std::vector<double>& values);

    // Over the rows [First, Last); none when they hold no finite value.
    std::optional<LogRange> Over(LogRows rows) const;

private:
    static constexpr std::size_t BlockRows = 64;
    static constexpr std::uint8_t None = 0xFF;  // no finite value in the part

    struct Where {
        std::uint8_t Low = None, High = None;
    };

    void Widen(LogRange& range, std::size_t block, Where where) const;

    const std::vector<double>& values_;
    std::vector<Where> head_;  // of [block start, row]
    std::vector<Where> tail_;  // of [row, block end)
    // The extremes of blocks [b, b + 2^k) at runs_[levelStart_[k] + b]; Low >
    // High when none.
    std::vector<LogRange> runs_;
    std::vector<std::size_t> levelStart_;
};

// The extremes of a table's columns, each made when it is first asked for:
// the viewer plots a few columns of many. The table must outlive it unchanged.
class LogIndex {
public:
    explicit LogIndex(const LogTable& table) : table_(table), columns_(table.Columns().size()) {}

    const LogExtremes& Of(std::size_t column);

private:
    const LogTable& table_;
    std::vector<std::unique_ptr<LogExtremes>> columns_;
};
