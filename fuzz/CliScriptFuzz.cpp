// Runs arbitrary bytes as a velmora-cli script, through the same RunScript the program uses
// (read from memory, output and messages into memory), and checks what must hold for every
// script:
//  - no crash, no sanitizer report, no exception out of RunScript;
//  - the exit status is 0 when every line is a command of the script and 2 otherwise, with
//    exactly one message line on the error stream naming the first bad line by number and
//    quoting it; never 1, since writing into memory cannot fail;
//  - for a script whose lines all ran, a second session fed the same lines one by one
//    prints exactly what RunScript printed, and after every line its probe marker sits on
//    the probe (tail 1 cm behind and 0.5 cm to either side, tip 1 cm ahead) and every
//    variable of the experiment is finite.
// The second session runs only for scripts that ran to their end, so a script that stops at
// a bad line costs one bench session, not two.
// Fuzzed inputs stay far below the 16 MiB line limit; the robust tests cover that limit.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "MarkerOnProbe.h"
#include "NumText.h"
#include "Script.h"

namespace {

using velmora::Extended;
using namespace velmora::cli;

constexpr std::string_view kScriptName = "fuzz";

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "cli_script_fuzz: %s\n", what.c_str());
    std::abort();
}

/// The lines of `script` as RunScript reads them: split after each line feed, a last line
/// without one included, the line feed and then one carriage return dropped, and a UTF-8
/// byte order mark dropped from the first line.
template <class Visit>
void ForEachLine(std::string_view script, Visit&& visit) {
    unsigned long number = 0;
    while (!script.empty()) {
        const std::size_t end = script.find('\n');
        std::string_view line = script.substr(0, end);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (++number == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        if (!visit(number, line))
            return;
    }
}

/// The one error line RunScript must print for `script`, or empty when every line is good.
std::string ExpectedError(std::string_view script) {
    std::string message;
    ForEachLine(script, [&](unsigned long number, std::string_view line) {
        const ScriptLine parsed = Interpret(line);
        const auto* bad = std::get_if<BadLine>(&parsed);
        if (bad == nullptr)
            return true;
        message = "velmora-cli: " + std::string(kScriptName) + ":" + std::to_string(number) + ": " +
                  bad->reason + ": " + Quoted(line) + "\n";
        return false;
    });
    return message;
}

void CheckExperiment(const velmora::Bench& bench, unsigned long number) {
    const velmora::LabState& s = bench.State();
    const std::string where = " after line " + std::to_string(number);
    for (const Extended value : {s.Circulation, s.ProbeAngle, s.ProbeX, s.ProbeY, s.Induction}) {
        if (!IsFinite(value))
            Fail("a variable of the experiment is not finite" + where);
    }
    if (const std::string off = velmora::MarkerOffProbe(bench); !off.empty())
        Fail(off + where);
}

/// What a session fed the lines of `script` one by one prints, checking the experiment
/// after every line.
std::string ReplayedOutput(std::string_view script) {
    Session session;
    std::string output = session.StartupOutput();
    CheckExperiment(session.Lab(), 0);
    ForEachLine(script, [&](unsigned long number, std::string_view line) {
        output += session.Execute(Interpret(line));
        CheckExperiment(session.Lab(), number);
        return true;
    });
    return output;
}

/// A stream that collects what is written to it; the text is there after Close().
class MemoryStream {
  public:
    MemoryStream() : file_(open_memstream(&data_, &size_)) {
        if (file_ == nullptr)
            Fail("open_memstream failed");
    }
    ~MemoryStream() {
        Close();
        std::free(data_);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    std::FILE* File() const { return file_; }
    std::string_view Close() {
        if (file_ != nullptr) {
            std::fclose(file_);
            file_ = nullptr;
        }
        return {data_, size_};
    }

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A "separator" line changes the process-wide settings: every script starts from the
    // defaults, so that a run depends on its input alone.
    const velmora::TFormatSettings initialSettings;
    const std::string_view script(reinterpret_cast<const char*>(data), size);

    static char nothing[1];
    void* bytes = size == 0 ? static_cast<void*>(nothing) : const_cast<std::uint8_t*>(data);
    std::FILE* in = fmemopen(bytes, size, "rb");
    if (in == nullptr)
        Fail("fmemopen failed");
    MemoryStream out;
    MemoryStream err;
    velmora::FormatSettings() = initialSettings;
    const int status = RunScript(in, kScriptName, out.File(), err.File());
    std::fclose(in);
    const std::string printed(out.Close());
    const std::string_view message = err.Close();

    if (status != kExitRan && status != kExitFailed && status != kExitBadScript)
        Fail("exit status " + std::to_string(status) + " is not 0, 1 or 2");
    if (status == kExitFailed)
        Fail("exit status 1, yet the output went into memory");
    const std::string expectedError = ExpectedError(script);
    if (status != (expectedError.empty() ? kExitRan : kExitBadScript))
        Fail("exit status " + std::to_string(status) + " for a script " +
             (expectedError.empty() ? "whose lines are all good" : "with a bad line"));
    if (message != expectedError)
        Fail("the error stream holds \"" + std::string(message) + "\", not \"" + expectedError +
             "\"");
    if (status != kExitRan)
        return 0;

    velmora::FormatSettings() = initialSettings;
    if (ReplayedOutput(script) != printed)
        Fail("a session fed the lines one by one printed something else");
    velmora::FormatSettings() = initialSettings;
    return 0;
}
