// Start-up against an empty window: runs the two start-up probes alternately, each many
// times, and prints two figures: the median time from process start to the first frame of
// Velmora's main window over that of an empty QMainWindow of the same size (goal: at most
// 1.5 times), and the median peak resident memory of each as /usr/bin/time -v reports it
// (goal: Velmora at most 15 MiB above the empty window). With --plot, a window holding a bare
// QCustomPlot runs alongside for reference.
//
//   startup_bench --real PROBE --empty PROBE [--plot PROBE] [--runs N] [--warmup N]
//
// The probes need a display (DISPLAY and QT_QPA_PLATFORM as the caller sets them). Where
// the time goes inside each probe (stage medians) is written to standard error.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Clock.h"
#include "Figures.h"

namespace velmora::figures {
namespace {

/// A probe that has not drawn its frame by then is taken to hang.
constexpr int kProbeTimeoutMs = 30'000;

struct Output {
    std::string text;  ///< what the program wrote on the captured stream
    bool finished = false;
};

/// Runs `argv` with the stream `captured` (1 or 2) caught in a pipe and the other one
/// discarded; returns what it wrote once it has ended, or unfinished after the time-out.
Output Run(const std::vector<std::string>& argv, int captured) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    const pid_t child = fork();
    if (child == 0) {
        const int discard = open("/dev/null", O_WRONLY);
        dup2(pipeEnds[1], captured);
        dup2(discard, captured == 1 ? 2 : 1);
        close(pipeEnds[0]);
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    Output output;
    char buffer[4096];
    pollfd readable{pipeEnds[0], POLLIN, 0};
    while (poll(&readable, 1, kProbeTimeoutMs) > 0) {
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got <= 0) {
            output.finished = true;
            break;
        }
        output.text.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    if (!output.finished) {
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    output.finished = output.finished && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return output;
}

/// The samples of one probe.
struct Samples {
    std::string path;
    std::vector<double> frameMs;
    std::vector<double> peakMiB;
    std::map<std::string, std::vector<double>> stageMs;  ///< stage name → ms since start
};

[[noreturn]] void Fail(const Samples& probe, const std::string& what, const std::string& text) {
    std::fprintf(stderr, "startup_bench: %s %s\n%s\n", probe.path.c_str(), what.c_str(),
                 text.c_str());
    std::exit(1);
}

/// One timed start of the probe; when `keep` the figures become samples.
void TimeStart(Samples& probe, bool keep) {
    const std::int64_t started = MonotonicNanos();
    const Output output = Run({probe.path}, 1);
    const std::optional<std::int64_t> painted = PaintedAt(output.text);
    if (!output.finished || !painted) {
        Fail(probe, "drew no frame", output.text);
    }
    if (!keep) {
        return;
    }
    probe.frameMs.push_back(static_cast<double>(*painted - started) / 1e6);
    std::string_view rest = output.text;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        char name[64];
        long long at = 0;
        if (std::sscanf(std::string(line).c_str(), "stage %63s %lld", name, &at) == 2) {
            probe.stageMs[name].push_back(static_cast<double>(at - started) / 1e6);
        }
    }
}

/// One start of the probe under /usr/bin/time -v, for its peak resident memory.
void MeasureMemory(Samples& probe, bool keep) {
    const Output output = Run({"/usr/bin/time", "-v", probe.path}, 2);
    const std::optional<std::int64_t> peak = PeakResidentKiB(output.text);
    if (!output.finished || !peak) {
        Fail(probe, "gave no memory report", output.text);
    }
    if (keep) {
        probe.peakMiB.push_back(static_cast<double>(*peak) / 1024);
    }
}

/// The median time of each stage, in the order the stages come.
void PrintStages(const Samples& probe) {
    std::vector<std::pair<double, std::string>> stages;
    for (const auto& [name, ms] : probe.stageMs) {
        stages.emplace_back(Median(ms), name);
    }
    std::sort(stages.begin(), stages.end());
    std::fprintf(stderr, "%s:", probe.path.c_str());
    for (const auto& [ms, name] : stages) {
        std::fprintf(stderr, " %s %.1f ms,", name.c_str(), ms);
    }
    std::fprintf(stderr, " frame %.1f ms, peak %.1f MiB\n", Median(probe.frameMs),
                 Median(probe.peakMiB));
}

int Main(int argc, char** argv) {
    Samples real;
    Samples empty;
    Samples plot;
    int runs = 15;
    int warmup = 2;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        if (option == "--real") {
            real.path = argv[i + 1];
        } else if (option == "--empty") {
            empty.path = argv[i + 1];
        } else if (option == "--plot") {
            plot.path = argv[i + 1];
        } else if (option == "--runs") {
            runs = std::atoi(argv[i + 1]);
        } else if (option == "--warmup") {
            warmup = std::atoi(argv[i + 1]);
        }
    }
    if (real.path.empty() || empty.path.empty() || runs < 1) {
        std::fprintf(stderr,
                     "usage: startup_bench --real PROBE --empty PROBE [--plot PROBE] "
                     "[--runs N] [--warmup N]\n");
        return 2;
    }
    std::vector<Samples*> order = {&real, &empty};
    if (!plot.path.empty()) {
        order.push_back(&plot);
    }
    // Turn the order every round, so that no probe always runs on another's warm caches;
    // the first rounds only warm the caches.
    for (int round = 0; round < warmup + runs; ++round) {
        const bool keep = round >= warmup;
        for (Samples* probe : order) {
            TimeStart(*probe, keep);
        }
        for (Samples* probe : order) {
            MeasureMemory(*probe, keep);
        }
        std::rotate(order.begin(), order.begin() + 1, order.end());
    }
    for (const Samples* probe : order) {
        PrintStages(*probe);
    }

    const double realMs = Median(real.frameMs);
    const double emptyMs = Median(empty.frameMs);
    const double ratio = realMs / emptyMs;
    char text[160];
    std::snprintf(text, sizeof text, "%.2f × (%.1f ms / %.1f ms, %zu runs each)", ratio, realMs,
                  emptyMs, real.frameMs.size());
    PrintFigure(
        {"Start-up to first frame, Velmora / empty window", text, "≤ 1.50 ×", AtMost(ratio, 1.5)});

    const double realMiB = Median(real.peakMiB);
    const double emptyMiB = Median(empty.peakMiB);
    const double extra = realMiB - emptyMiB;
    std::snprintf(text, sizeof text, "%+.1f MiB (%.1f MiB / %.1f MiB)", extra, realMiB, emptyMiB);
    PrintFigure(
        {"Peak resident memory, Velmora − empty window", text, "≤ +15 MiB", AtMost(extra, 15)});

    if (!plot.path.empty()) {
        std::snprintf(text, sizeof text, "%.1f ms, %.1f MiB", Median(plot.frameMs),
                      Median(plot.peakMiB));
        PrintFigure(
            {"Start-up of a bare QCustomPlot window (reference)", text, "-", Verdict::Info});
    }
    return 0;
}

}  // namespace
}  // namespace velmora::figures

int main(int argc, char** argv) {
    return velmora::figures::Main(argc, argv);
}
