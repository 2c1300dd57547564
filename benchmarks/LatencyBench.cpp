// Command latency of the real main window under an X server: every bench command pressed with
// the mouse, timed from the click to the end of the redraw of the plot and the table, in a
// fresh session and with a long trace and protocol; CopyPicture and a wheel notch over a
// long trace; and the hostile sizes: a megabyte pasted into a value cell, a protocol of
// 100,000 lines. Prints one FIGURE line per figure (see Figures.h) and details on stderr.
//
//   command_latency [--rounds N] [--loaded-rounds N] [--refills N] [--dots N] [--lines N]
//                   [--hostile-lines N] [--hostile-text N] [--only fresh|loaded|protocol|text]
//
// Commands are pressed in rounds, each round all nine in a fresh random order, so a slow
// moment of the machine spreads over all of them. Reset and EraseProtocol empty the trace: in
// the sessions that must keep a long trace they are pressed in only some rounds, and the
// trace and the protocol are filled again after them (not timed).
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "BenchSession.h"
#include "Clock.h"
#include "DisplaySync.h"
#include "Figures.h"
#include "ReadoutModel.h"
#include "ReadoutView.h"

namespace velmora::figures {
namespace {

struct Settings {
    int rounds = 150;       ///< rounds in a fresh session
    int loadedRounds = 60;  ///< rounds with a long trace and protocol
    int refills = 12;       ///< Reset and EraseProtocol presses with a long trace
    int dots = 10'000;      ///< the long trace
    int lines = 50'000;     ///< the long protocol
    int hostileLines = 100'000;
    int hostileText = 1 << 20;  ///< characters pasted into a value cell
    std::string only;           ///< one part to run (for profiling), or all
};

/// One thing timed in a round: a command, or the plot's own CopyPicture and wheel.
struct Action {
    std::string name;
    bool destructive = false;
    bool redrawsPlot = true;
    std::function<Redraw()> run;
};

/// The samples of each action, in milliseconds.
using Samples = std::map<std::string, std::vector<double>>;

/// The samples of a run of rounds: to the frame, to the end of all queued work, and the
/// processor time of the program's thread.
struct Rounds {
    Samples frame;
    Samples idle;
    Samples cpu;
};

std::vector<Action> CommandActions(BenchSession& session) {
    std::vector<Action> actions;
    for (const CommandButton& command : kCommands) {
        actions.push_back({std::string(command.name) + " \"" + command.caption + '"',
                           command.destructive, std::string(command.name) != "RecordValues",
                           [&session, &command] { return session.Press(command); }});
    }
    return actions;
}

/// Runs `rounds` rounds of `actions` in a fresh random order each; a destructive action
/// runs in every `destructiveEvery`-th round only and is followed by `restore` (not timed).
Rounds RunRounds(const std::string& label, const std::vector<Action>& actions, int rounds,
                 int destructiveEvery, const std::function<void()>& restore) {
    std::mt19937 random(20261209);
    std::vector<std::size_t> order(actions.size());
    std::iota(order.begin(), order.end(), 0);
    Rounds samples;
    int late = 0;
    int undrawn = 0;
    for (int round = 0; round < rounds; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        for (std::size_t index : order) {
            const Action& action = actions[index];
            if (action.destructive && round % destructiveEvery != 0) {
                continue;
            }
            const Redraw redraw = action.run();
            samples.frame[action.name].push_back(redraw.ms);
            samples.idle[action.name].push_back(redraw.idleMs);
            samples.cpu[action.name].push_back(redraw.cpuMs);
            late += redraw.latePaints;
            undrawn += action.redrawsPlot && !redraw.plotDrawn ? 1 : 0;
            if (action.destructive) {
                restore();
            }
        }
    }
    std::fprintf(stderr, "%s:\n", label.c_str());
    for (const auto& [name, ms] : samples.frame) {
        const std::vector<double>& idle = samples.idle.at(name);
        const std::vector<double>& cpu = samples.cpu.at(name);
        std::fprintf(stderr,
                     "  %-28s median %6.2f  p99 %6.2f  max %6.2f ms  n=%zu  idle: median %.2f, "
                     "p99 %.2f ms  own processor time: median %.2f, p99 %.2f ms\n",
                     name.c_str(), Median(ms), Percentile(ms, 99),
                     *std::max_element(ms.begin(), ms.end()), ms.size(), Median(idle),
                     Percentile(idle, 99), Median(cpu), Percentile(cpu, 99));
    }
    if (late > 0 || undrawn > 0) {
        std::fprintf(stderr,
                     "  warning: %d paints came after the timed redraw, %d plot "
                     "redraws were missing from it\n",
                     late, undrawn);
    }
    return samples;
}

std::string MedianAndP99(const std::vector<double>& ms) {
    char text[96];
    std::snprintf(text, sizeof text, "median %.2f ms, p99 %.2f ms (n=%zu)", Median(ms),
                  Percentile(ms, 99), ms.size());
    return text;
}

std::string GoalText(double goalMs) {
    char text[32];
    std::snprintf(text, sizeof text, "p99 ≤ %g ms", goalMs);
    return text;
}

/// One row per action.
/// One row per action: the time to the frame, median and 99th percentile, and the 99th
/// percentile of the program's own processor time, which tells its work from the time the X
/// server and the other programs on the machine take.
void PrintEach(const Rounds& rounds, const std::vector<Action>& actions, const std::string& where,
               double goalMs) {
    for (const Action& action : actions) {
        const auto found = rounds.frame.find(action.name);
        if (found == rounds.frame.end()) {
            continue;
        }
        const double p99 = Percentile(found->second, 99);
        char cpu[64];
        std::snprintf(cpu, sizeof cpu, "; own processor p99 %.2f ms",
                      Percentile(rounds.cpu.at(action.name), 99));
        PrintFigure({action.name + ", " + where, MedianAndP99(found->second) + cpu,
                     GoalText(goalMs), AtMost(p99, goalMs)});
    }
}

/// One row for all actions together: the worst 99th percentile and the command it belongs to,
/// against `goalMs` (no goal: 0).
void PrintWorst(const Samples& samples, const std::string& what, double goalMs) {
    std::string worstName;
    double worst = 0;
    double lowestMedian = 1e300;
    double highestMedian = 0;
    for (const auto& [name, ms] : samples) {
        const double p99 = Percentile(ms, 99);
        if (p99 >= worst) {
            worst = p99;
            worstName = name.substr(0, name.find(' '));
        }
        lowestMedian = std::min(lowestMedian, Median(ms));
        highestMedian = std::max(highestMedian, Median(ms));
    }
    char text[160];
    std::snprintf(text, sizeof text, "worst p99 %.2f ms (%s), medians %.2f–%.2f ms", worst,
                  worstName.c_str(), lowestMedian, highestMedian);
    if (goalMs > 0) {
        PrintFigure({what, text, GoalText(goalMs), AtMost(worst, goalMs)});
    } else {
        PrintFigure({what, text, "-", Verdict::Info});
    }
}

/// The fresh-session options and inputs: Move turns first, the circulation is summed and
/// the protocol written, and the start position lies off both axes (Reset undoes them).
void PrepareFresh(BenchSession& session) {
    session.SetOptions(false, true, true);
    session.SetValue(4, QStringLiteral("6"));
    session.SetValue(5, QStringLiteral("4"));
    session.Settle();
}

void Fresh(BenchSession& session, const Settings& settings) {
    session.Form().Button1Click();
    PrepareFresh(session);
    const std::vector<Action> actions = CommandActions(session);
    const Rounds samples = RunRounds("fresh session", actions, settings.rounds, 1,
                                     [&session] { PrepareFresh(session); });
    PrintEach(samples, actions, "fresh session", 4);
}

/// Fills the trace and the protocol, saying how long it took.
void Refill(BenchSession& session, int dots, int lines) {
    const double seconds = session.Fill(dots, lines);
    PrepareFresh(session);
    session.SetOptions(true, true, true);
    std::fprintf(stderr, "  (filled %zu dots and %zu lines in %.1f s)\n", session.TraceDots(),
                 session.ProtocolLines(), seconds);
}

void Loaded(BenchSession& session, const Settings& settings) {
    Refill(session, settings.dots, settings.lines);
    std::vector<Action> actions = CommandActions(session);
    actions.push_back({"CopyPicture", false, false, [&session] { return session.CopyPicture(); }});
    actions.push_back({"Wheel notch up", false, true, [&session] { return session.Wheel(true); }});
    actions.push_back(
        {"Wheel notch down", false, true, [&session] { return session.Wheel(false); }});
    const int every = std::max(1, settings.loadedRounds / std::max(1, settings.refills));
    const std::string where =
        std::to_string(settings.dots) + " dots, " + std::to_string(settings.lines) + " lines";
    const Rounds rounds = RunRounds(where, actions, settings.loadedRounds, every,
                                    [&] { Refill(session, settings.dots, settings.lines); });
    const Samples& samples = rounds.frame;
    actions.resize(kCommands.size());
    PrintEach(rounds, actions, where, 16);
    // Erasing a long protocol releases its text after the frame: the time until the program
    // takes input again.
    for (const Action& action : actions) {
        if (action.name.starts_with("EraseProtocol")) {
            PrintFigure({action.name + ", " + where + ", until idle again",
                         MedianAndP99(rounds.idle.at(action.name)), "-", Verdict::Info});
        }
    }

    std::vector<double> copies = samples.at("CopyPicture");
    PrintFigure({"CopyPicture with " + std::to_string(settings.dots) + " trace dots",
                 MedianAndP99(copies), "p99 ≤ 50 ms", AtMost(Percentile(copies, 99), 50)});
    std::vector<double> wheel = samples.at("Wheel notch up");
    const std::vector<double>& down = samples.at("Wheel notch down");
    wheel.insert(wheel.end(), down.begin(), down.end());
    PrintFigure({"Wheel notch redraw with " + std::to_string(settings.dots) + " trace dots",
                 MedianAndP99(wheel), "p99 ≤ 16 ms", AtMost(Percentile(wheel, 99), 16)});
}

void LongProtocol(BenchSession& session, const Settings& settings) {
    Refill(session, settings.dots, settings.hostileLines);
    const std::vector<Action> actions = CommandActions(session);
    const int every = std::max(1, settings.loadedRounds / std::max(1, settings.refills / 2));
    const Rounds rounds = RunRounds(std::to_string(settings.hostileLines) + "-line protocol",
                                    actions, std::max(1, settings.loadedRounds / 2), every,
                                    [&] { Refill(session, settings.dots, settings.hostileLines); });
    PrintWorst(rounds.frame,
               "Every command, " + std::to_string(settings.hostileLines) + "-line protocol and " +
                   std::to_string(settings.dots) + " dots",
               16);
}

/// Presses "В начало" with the mouse, lets the error box come up and answers it as soon as
/// it has been drawn; returns the time from the click to the drawn box.
double ErrorBoxTime(BenchSession& session) {
    std::int64_t start = 0;
    std::int64_t drawn = 0;
    QPointer<QMessageBox> box;
    struct BoxPaint : QObject {
        std::function<void()> onPaint;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && onPaint) {
                std::exchange(onPaint, nullptr)();
            }
            return false;
        }
    } watch;
    watch.onPaint = [&] {
        QTimer::singleShot(0, [&] {
            WaitForDisplay();
            drawn = MonotonicNanos();
            if (box) {
                box->done(0);
            }
        });
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (box == nullptr) {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                box->installEventFilter(&watch);
            }
        }
    });
    poll.start(0);
    QAbstractButton* button = session.Control<QAbstractButton>("Button10");
    start = MonotonicNanos();
    QTest::mouseClick(button, Qt::LeftButton);
    poll.stop();
    session.Settle();
    return drawn == 0 ? -1 : static_cast<double>(drawn - start) / 1e6;
}

/// A text of `size` characters that is no number: Latin and Cyrillic letters by turns.
QString HostileText(int size) {
    QString text;
    text.reserve(size);
    const QString pattern = QStringLiteral("abcабв");
    while (text.size() < size) {
        text += pattern;
    }
    text.truncate(size);
    return text;
}

/// Runs rounds of the nine commands with `text` typed over the start x: "В начало" fails on
/// it, the other commands run with it in the table. The error box is left out: "В начало"
/// runs through its handler. Prints the worst 99th percentile against `goalMs` (none: 0).
void HostileTextRounds(BenchSession& session, const Settings& settings, const QString& text,
                       const std::string& what, double goalMs) {
    std::vector<Action> actions = CommandActions(session);
    for (Action& action : actions) {
        if (action.name.starts_with("GoToStart")) {
            action.redrawsPlot = false;
            action.run = [&session] {
                return session.Timed([&session] { session.Form().Button10Click(); });
            };
        }
    }
    const Rounds samples =
        RunRounds(what, actions, std::max(1, settings.rounds / 3), 1, [&session, &text] {
            PrepareFresh(session);
            session.SetValue(4, text);
            session.Settle();
        });
    PrintWorst(samples.frame, "Every command, " + what, goalMs);
}

/// "В начало" failing on the start x `text` the cell holds, through its handler (without
/// the error box), and then through a click with the box shown and answered.
void FailingConversion(BenchSession& session, const Settings& settings, const QString& text,
                       const std::string& what, double goalMs) {
    std::vector<double> failing;
    QString message;
    for (int i = 0; i < std::max(3, settings.rounds / 5); ++i) {
        failing.push_back(
            session.Timed([&session] { session.Form().Button10Click(); }, &message).ms);
    }
    if (message != u'\'' + text + QStringLiteral("' is not a valid floating point value")) {
        std::fprintf(stderr, "  warning: %s failed with another message\n", what.c_str());
    }
    PrintFigure({"GoToStart failing on " + what + ", without the error box", MedianAndP99(failing),
                 goalMs > 0 ? GoalText(goalMs) : "-",
                 goalMs > 0 ? AtMost(Percentile(failing, 99), goalMs) : Verdict::Info});
    char box[96];
    std::snprintf(box, sizeof box, "%.1f ms", ErrorBoxTime(session));
    PrintFigure({"Error box for " + what + ", click to drawn box", box, "-", Verdict::Info});
}

void HostileText(BenchSession& session, const Settings& settings) {
    session.Form().Button1Click();
    PrepareFresh(session);
    const QString text = HostileText(settings.hostileText);

    // Pasted into the start x cell through its own editor, as a student would.
    ReadoutView* view = session.Control<ReadoutView>("ValueListEditor1");
    const QModelIndex cell = view->model()->index(4, ReadoutModel::kValueColumn);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cell));
    if (editor == nullptr) {
        qFatal("no in-place editor on the start x row");
    }
    editor->selectAll();
    QGuiApplication::clipboard()->setText(text);
    const Redraw paste =
        session.Timed([editor] { QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier); });
    const QString kept = cell.data(Qt::EditRole).toString();
    const std::string pasted = "the pasted " + std::to_string(settings.hostileText) +
                               " characters (the cell keeps " + std::to_string(kept.size()) + ")";
    PrintFigure({"Paste of " + std::to_string(settings.hostileText) +
                     " characters into a value cell, to redraw",
                 Milliseconds(paste.ms), "-", Verdict::Info});
    FailingConversion(session, settings, kept, pasted, 4);
    HostileTextRounds(session, settings, kept, pasted + " in the start x", 4);

    // The whole text, put into the cell past the editor's limit.
    session.SetValue(4, text);
    session.Settle();
    const std::string whole =
        "all " + std::to_string(settings.hostileText) + " characters set past the editor";
    FailingConversion(session, settings, text, whole, 0);
    HostileTextRounds(session, settings, text, whole, 0);
}

Settings ReadSettings(int argc, char** argv) {
    Settings settings;
    const std::pair<const char*, int*> options[] = {
        {"--rounds", &settings.rounds},
        {"--loaded-rounds", &settings.loadedRounds},
        {"--refills", &settings.refills},
        {"--dots", &settings.dots},
        {"--lines", &settings.lines},
        {"--hostile-lines", &settings.hostileLines},
        {"--hostile-text", &settings.hostileText},
    };
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "--only") {
            settings.only = argv[i + 1];
        }
        for (const auto& [name, value] : options) {
            if (std::string_view(argv[i]) == name) {
                *value = std::max(1, std::atoi(argv[i + 1]));
            }
        }
    }
    return settings;
}

}  // namespace
}  // namespace velmora::figures

int main(int argc, char** argv) {
    using namespace velmora::figures;
    FrameClock application(argc, argv);
    const Settings settings = ReadSettings(argc, argv);
    BenchSession session(application);
    const std::pair<const char*, void (*)(BenchSession&, const Settings&)> parts[] = {
        {"fresh", Fresh}, {"loaded", Loaded}, {"protocol", LongProtocol}, {"text", HostileText}};
    for (const auto& [name, part] : parts) {
        if (settings.only.empty() || settings.only == name) {
            part(session, settings);
        }
    }
    return 0;
}
