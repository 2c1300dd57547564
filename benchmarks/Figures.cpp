#include "Figures.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace velmora::figures {
namespace {

/// The whole number that starts `text` after any blanks, if there is one.
std::optional<std::int64_t> LeadingNumber(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end == first) {
        return std::nullopt;
    }
    return value;
}

/// The number after `label` on the first line of `text` that starts with `label` (after
/// leading blanks).
std::optional<std::int64_t> NumberAfter(std::string_view text, std::string_view label) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (line.starts_with(label)) {
            return LeadingNumber(line.substr(label.size()));
        }
    }
    return std::nullopt;
}

}  // namespace

double Median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    const std::size_t middle = samples.size() / 2;
    std::nth_element(samples.begin(), samples.begin() + middle, samples.end());
    const double upper = samples[middle];
    if (samples.size() % 2 == 1) {
        return upper;
    }
    const double lower = *std::max_element(samples.begin(), samples.begin() + middle);
    return (lower + upper) / 2;
}

double Percentile(std::vector<double> samples, double percent) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const double rank = std::ceil(percent / 100 * static_cast<double>(samples.size()));
    const auto index = static_cast<std::size_t>(std::max(rank, 1.0)) - 1;
    return samples[std::min(index, samples.size() - 1)];
}

std::string Milliseconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f ms", ms);
    return text;
}

std::string FigureLine(const Figure& figure) {
    const char* verdict = figure.verdict == Verdict::Met      ? "met"
                          : figure.verdict == Verdict::Missed ? "MISSED"
                                                              : "-";
    return "FIGURE\t" + figure.name + '\t' + figure.measured + '\t' + figure.goal + '\t' + verdict;
}

void PrintFigure(const Figure& figure) {
    std::printf("%s\n", FigureLine(figure).c_str());
    std::fflush(stdout);
}

std::optional<std::int64_t> PeakResidentKiB(std::string_view timeReport) {
    return NumberAfter(timeReport, "Maximum resident set size (kbytes):");
}

std::optional<std::int64_t> PaintedAt(std::string_view probeOutput) {
    return NumberAfter(probeOutput, "painted ");
}

}  // namespace velmora::figures
