// Timing of the display formulas of the sample definitions: evaluations per
// second, and the cost of one live block's sixteen evaluations against the
// line time of one live tick.

#include <chrono>
#include <cstdio>
#include <iterator>

#include "formula/EvaluateFormula.h"

namespace {

const char* const Formulas[] = {
    "X/4",      "X*0.1",    "X-40",  "X*100/1023",
    "X*5/1023", "X*0.5-50", "X/256", "T=X*0.1-40;abs(T)+sin(T/pi)",
};
constexpr int FormulaCount = static_cast<int>(std::size(Formulas));

// One live tick moves 40 bytes of 10 bits at 38400 baud.
constexpr double TickLineSeconds = 40 * 10 / 38400.0;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

}  // namespace

int main() {
    constexpr int Rounds = 400000;
    double sink = 0.0;

    std::printf("%-30s %15s\n", "formula", "evaluations/s");
    for (const char* formula : Formulas) {
        const auto start = Clock::now();
        for (int i = 0; i < Rounds; ++i) sink += EvaluateFormula(formula, i & 0xFFFF);
        const double seconds = Seconds(Clock::now() - start);
        std::printf("%-30s %15.0f\n", formula, Rounds / seconds);
    }

    // A live block: sixteen slots, each with one of the formulas above.
    constexpr int Blocks = 100000;
    const auto start = Clock::now();
    for (int block = 0; block < Blocks; ++block) {
        for (int slot = 0; slot < 16; ++slot) {
            sink += EvaluateFormula(Formulas[slot % FormulaCount], (block * 16 + slot) & 0xFFFF);
        }
    }
    const double block = Seconds(Clock::now() - start) / Blocks;
    std::printf("\nall formulas: %.0f evaluations/s\n", 16 / block);
    std::printf("sixteen evaluations: %.2f us, %.3f%% of a tick's line time (%.2f ms)\n",
                block * 1e6, 100 * block / TickLineSeconds, TickLineSeconds * 1e3);
    std::printf("(checksum %g)\n", sink);
    return 0;
}
