#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "Bench.h"
#include "Error.h"
#include "NumText.h"
#include "SeparatorScope.h"
#include "Utf.h"

namespace velmora::testing {

/// Runs a test with the decimal point and gives the user's separator back afterwards.
class SeparatorTest : public ::testing::Test {
  private:
    SeparatorScope point_{u'.'};
};

/// A bench after its start-up Reset, as the main window shows it.
inline Bench ResetBench() {
    Bench bench;
    bench.Reset();
    return bench;
}

/// The message of the error `action` throws, in UTF-8, or "(no error)".
template <class Action>
std::string MessageOf(Action&& action) {
    try {
        action();
    } catch (const Error& e) {
        return ToUtf8(e.Message());
    }
    return "(no error)";
}

inline std::string RowText(const Bench& bench, ReadoutRow row) {
    return ToUtf8(bench.Table().RowText(row));
}

/// Ticks or clears all three option boxes as `options` says.
inline void SetOptions(Bench& bench, const BenchOptions& options) {
    bench.SetOption(BenchOption::FixAngle, options.FixAngle);
    bench.SetOption(BenchOption::SumCirculation, options.SumCirculation);
    bench.SetOption(BenchOption::WriteProtocol, options.WriteProtocol);
}

inline std::vector<std::string> LogLines(const Bench& bench) {
    std::vector<std::string> lines;
    for (const auto& line : bench.Protocol().Lines())
        lines.push_back(ToUtf8(line));
    return lines;
}

/// Everything a command may change, compared bit for bit.
struct Snapshot {
    std::array<std::array<unsigned char, 10>, 11> state{};
    std::vector<std::u16string> rows;
    unsigned long long tableRevision = 0;
    std::vector<std::u16string> log;
    unsigned long long logClears = 0;
    std::array<std::vector<PlotPoint>, kLayerCount> layers;
    std::array<unsigned long long, kLayerCount> layerRevisions{};
    unsigned long long sceneResets = 0;
    bool fixAngle = false;
    bool sumCirculation = false;
    bool writeProtocol = false;

    explicit Snapshot(const Bench& bench) {
        // One name per field: a field added to or removed from LabState stops this from
        // compiling, so the snapshot cannot silently leave a field out.
        const auto& [circulation, wireRadius, mu0, coilCurrent, coilTurns, coilRadius, piValue,
                     probeAngle, probeX, probeY, induction] = bench.State();
        const Extended fields[] = {circulation, wireRadius, mu0,      coilCurrent,
                                   coilTurns,   coilRadius, piValue,  probeAngle,
                                   probeX,      probeY,     induction};
        static_assert(std::size(fields) == std::tuple_size_v<decltype(state)>);
        for (std::size_t i = 0; i < state.size(); ++i) {
            std::memcpy(state[i].data(), &fields[i], state[i].size());
        }
        for (const ReadoutRow row : kReadoutRows) {
            rows.push_back(bench.Table().RowText(row));
        }
        tableRevision = bench.Table().Revision();
        log = bench.Protocol().Lines();
        logClears = bench.Protocol().ClearCount();
        for (std::size_t i = 0; i < kLayerCount; ++i) {
            layers[i] = bench.Scene().Points(static_cast<Layer>(i));
            layerRevisions[i] = bench.Scene().Revision(static_cast<Layer>(i));
        }
        sceneResets = bench.Scene().ResetCount();
        fixAngle = bench.Options().FixAngle;
        sumCirculation = bench.Options().SumCirculation;
        writeProtocol = bench.Options().WriteProtocol;
    }

    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

}  // namespace velmora::testing
