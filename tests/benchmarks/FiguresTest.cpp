// The statistics and the report lines of the benchmark harnesses: a wrong percentile or a
// misread report would put a wrong figure against a goal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Figures.h"

namespace velmora::figures {
namespace {

std::vector<double> OneTo(int count) {
    std::vector<double> samples;
    for (int i = count; i >= 1; --i) {
        samples.push_back(i);
    }
    return samples;
}

TEST(FiguresTest, MedianOfOddEvenAndShuffledSamples) {
    struct Case {
        const char* what;
        std::vector<double> samples;
        double median;
    };
    const Case cases[] = {
        {"none", {}, 0},
        {"one", {7}, 7},
        {"odd count, shuffled", {9, 1, 5, 3, 7}, 5},
        {"even count: mean of the middle two", {4, 1, 3, 2}, 2.5},
        {"equal middle samples", {1, 2, 2, 9}, 2},
        {"one outlier does not move it", {1, 1, 1, 1000}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DOUBLE_EQ(Median(c.samples), c.median);
    }
}

TEST(FiguresTest, PercentileIsTheNearestRank) {
    struct Case {
        const char* what;
        std::vector<double> samples;
        double percent;
        double expected;
    };
    const Case cases[] = {
        {"none", {}, 99, 0},
        {"99th of 100 is the 99th smallest", OneTo(100), 99, 99},
        {"99th of 200 is the 198th smallest", OneTo(200), 99, 198},
        {"99th of 150 rounds the rank up", OneTo(150), 99, 149},
        {"99th of fewer than 100 is the largest", OneTo(20), 99, 20},
        {"50th of 4 is the 2nd smallest", OneTo(4), 50, 2},
        {"0th is the smallest", OneTo(10), 0, 1},
        {"100th is the largest", OneTo(10), 100, 10},
        {"order of the samples does not matter", {5, 1, 4, 2, 3}, 80, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DOUBLE_EQ(Percentile(c.samples, c.percent), c.expected);
    }
}

TEST(FiguresTest, FigureLinesAreTabSeparatedWithTheVerdictLast) {
    struct Case {
        Figure figure;
        const char* line;
    };
    const Case cases[] = {
        {{"Move \"Сдвиг\", fresh session", "median 1.20 ms, p99 2.50 ms (n=150)", "p99 ≤ 4 ms",
          Verdict::Met},
         "FIGURE\tMove \"Сдвиг\", fresh session\tmedian 1.20 ms, p99 2.50 ms (n=150)\tp99 ≤ 4 "
         "ms\tmet"},
        {{"CopyPicture with 10000 trace dots", "61.00 ms", "p99 ≤ 50 ms", Verdict::Missed},
         "FIGURE\tCopyPicture with 10000 trace dots\t61.00 ms\tp99 ≤ 50 ms\tMISSED"},
        {{"ProbeReading", "52.3 µs per reading", "-", Verdict::Info},
         "FIGURE\tProbeReading\t52.3 µs per reading\t-\t-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FigureLine(c.figure), c.line);
    }
}

TEST(FiguresTest, VerdictOfACeilingIncludesTheCeiling) {
    EXPECT_EQ(AtMost(3.99, 4), Verdict::Met);
    EXPECT_EQ(AtMost(4, 4), Verdict::Met);
    EXPECT_EQ(AtMost(4.01, 4), Verdict::Missed);
}

TEST(FiguresTest, MillisecondsHaveTwoDecimals) {
    EXPECT_EQ(Milliseconds(1.234), "1.23 ms");
    EXPECT_EQ(Milliseconds(0.005), "0.01 ms");
    EXPECT_EQ(Milliseconds(158.5), "158.50 ms");
}

TEST(FiguresTest, PeakResidentMemoryIsReadFromTheTimeReport) {
    const std::string report =
        "\tCommand being timed: \"startup_probe_real\"\n"
        "\tUser time (seconds): 0.04\n"
        "\tAverage resident set size (kbytes): 0\n"
        "\tMaximum resident set size (kbytes): 43212\n"
        "\tAverage total size (kbytes): 0\n";
    EXPECT_EQ(PeakResidentKiB(report), 43212);
    EXPECT_EQ(PeakResidentKiB("\tMaximum resident set size (kbytes): \n"), std::nullopt);
    EXPECT_EQ(PeakResidentKiB("\tAverage resident set size (kbytes): 17\n"), std::nullopt);
    EXPECT_EQ(PeakResidentKiB(""), std::nullopt);
}

TEST(FiguresTest, PaintTimeIsReadFromTheProbeOutput) {
    struct Case {
        const char* output;
        std::optional<std::int64_t> painted;
    };
    const Case cases[] = {
        {"stage main 100\nstage shown 250\npainted 4747304659876\n", 4747304659876},
        {"painted 12", 12},
        {"stage painted 5\n", std::nullopt},
        {"stage main 100\n", std::nullopt},
        {"painted soon\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        EXPECT_EQ(PaintedAt(c.output), c.painted);
    }
}

}  // namespace
}  // namespace velmora::figures
