#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::figures {

/// The middle of `samples` (the mean of the two middle ones for an even count); 0 when empty.
double Median(std::vector<double> samples);

/// The nearest-rank percentile: the smallest sample that at least `percent` per cent of the
/// samples do not exceed (the 99th of 200 samples is the 198th smallest); 0 when empty.
double Percentile(std::vector<double> samples, double percent);

/// A time in milliseconds with two decimals, e.g. "1.25 ms".
std::string Milliseconds(double ms);

/// How a figure stands against its goal.
enum class Verdict {
    Met,     ///< within its goal
    Missed,  ///< beyond its goal
    Info,    ///< a figure without a goal of its own
};

/// One row of the benchmark table: what was measured, the figure, its goal and the verdict.
struct Figure {
    std::string name;
    std::string measured;
    std::string goal;
    Verdict verdict = Verdict::Info;
};

/// The row as `benchmarks/run` collects it from a harness's output: "FIGURE", the name, the
/// figure, the goal and "met", "MISSED" or "-", separated by tabs, on one line.
std::string FigureLine(const Figure& figure);

/// Prints FigureLine(figure) on standard output.
void PrintFigure(const Figure& figure);

/// The verdict of a figure whose goal is a ceiling.
inline Verdict AtMost(double value, double ceiling) {
    return value <= ceiling ? Verdict::Met : Verdict::Missed;
}

/// The peak resident set in KiB from the report of `/usr/bin/time -v` (its line
/// "Maximum resident set size (kbytes): N"), if the report holds one.
std::optional<std::int64_t> PeakResidentKiB(std::string_view timeReport);

/// The monotonic clock reading (nanoseconds) that a start-up probe prints when its first
/// frame is on the screen: the number after "painted " on the first line that starts with it.
std::optional<std::int64_t> PaintedAt(std::string_view probeOutput);

}  // namespace velmora::figures
