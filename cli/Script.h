#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>

#include "Bench.h"

namespace velmora::cli {

/// An empty line or a "#" comment.
struct Nothing {};
/// A button press: "reset", "move", "rotate+", "rotate-", "stepx", "stepy", "start",
/// "record", "erase".
struct Press {
    Command command;
};
/// "set KEY=VALUE": VALUE typed into the value cell of the row with KEY.
struct Type {
    ReadoutRow row = ReadoutRow::RotationStep;
    std::u16string value;
};
/// "fix on|off", "circulation on|off", "protocol on|off".
struct Tick {
    BenchOption box = BenchOption::FixAngle;
    bool on = false;
};
/// "separator C": the user's decimal separator becomes C.
struct ChangeSeparator {
    char16_t separator = u'.';
};
/// "table", "log", "scene".
struct Show {
    enum class What { Table, Log, Scene };
    What what = What::Table;
};
/// A line that is none of the above; `reason` says what is wrong with it.
struct BadLine {
    std::string reason;
};

using ScriptLine = std::variant<Nothing, Press, Type, Tick, ChangeSeparator, Show, BadLine>;

/// Reads one script line, given as its UTF-8 bytes without the line end (a trailing carriage
/// return already dropped). Nothing is trimmed: a command word with blanks around it is a
/// bad line, and a typed VALUE keeps its blanks and tabs.
ScriptLine Interpret(std::string_view line);

/// The bench of one script run and what its lines print.
class Session {
  public:
    /// Runs the start-up Reset. What it printed (nothing, or an error line) is in
    /// StartupOutput().
    Session();

    const std::string& StartupOutput() const { return startup_; }
    /// Carries out a line that is not a BadLine and returns what it prints, UTF-8, each line
    /// ending in "\n": the table, the protocol, the scene, or "error: MESSAGE" for a command
    /// that failed (MESSAGE as the error box shows it).
    std::string Execute(const ScriptLine& line);

    const Bench& Lab() const { return bench_; }

  private:
    std::string PressButton(Command command);

    Bench bench_;
    std::string startup_;
};

/// The nine rows, "KEY=VALUE" a line.
std::string TableText(const ReadoutTable& table);
/// The protocol's lines, one a line.
std::string LogText(const ProtocolLog& log);
/// The five layers in index order, one a line: the layer's name, then " x y" for each point,
/// each coordinate the shortest text that reads back as the same double, with ".".
std::string SceneText(const PlotScene& scene);

/// `text` for a one-line message: bytes that are not well-formed UTF-8 and control
/// characters as \xNN, a backslash and a double quote escaped with a backslash, in quotes.
std::string Quoted(std::string_view text);

/// The exit statuses of velmora-cli.
inline constexpr int kExitRan = 0;     ///< the script ran to its end, bench errors included
inline constexpr int kExitFailed = 1;  ///< the output could not be written
/// The run stopped before the script's end, or never started: a bad line, bad bytes, an
/// unreadable script, a line over kMaxLineBytes, memory that ran out, or a bad command line.
inline constexpr int kExitBadScript = 2;

/// The longest script line that is carried out: 16 MiB, its line end (a line feed, and a
/// carriage return before it) and a byte order mark before the first line not counted.
/// Reading stops just past it, so that a script without line feeds, such as /dev/zero,
/// cannot take all memory.
inline constexpr std::size_t kMaxLineBytes = std::size_t{16} << 20;

/// Runs the script read from `in`, named `name` in messages, line by line: each line is
/// carried out, and its output written to `out`, before the next one is read. A bad line, a
/// line over kMaxLineBytes, a read error or running out of memory stops the run with a
/// one-line message on `err` naming `name`, the line number and, for a bad line, the
/// offending text. Returns the exit status.
int RunScript(std::FILE* in, std::string_view name, std::FILE* out, std::FILE* err);

/// What velmora-cli prints when its output could not be written: with the system's reason
/// `error` (an errno value), or without one when `error` is 0, as some C libraries (Windows',
/// under wine) leave errno at 0 after a failed write.
std::string WriteFailureText(int error);

/// An output stream of velmora-cli that keeps the reason of its first failed write until the
/// end of the run: a stream that is not fully buffered fails in the middle of a run, and the
/// C library calls after it (reading the next script line) may change errno.
class Output {
  public:
    explicit Output(std::FILE* file) : file_(file) {}

    std::FILE* File() const { return file_; }
    /// Writes `text`; a failure is kept for Finish.
    void Write(std::string_view text);
    /// Flushes the stream. When a write or the flush failed and `status` is kExitRan, prints
    /// WriteFailureText on `err` and returns kExitFailed; otherwise returns `status`.
    int Finish(std::FILE* err, int status);

  private:
    std::FILE* file_;
    int error_ = 0;  ///< errno of the first failed write that gave one, else 0
};

}  // namespace velmora::cli
