// velmora-cli [--] [SCRIPT | -]: runs one bench session from a script, without any window,
// and prints what the student would read. See velmora-cli(1) and README.md.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "NumText.h"
#include "Script.h"

namespace {

using namespace velmora::cli;

constexpr char kUsage[] = "usage: velmora-cli [-h | --help | --version] [--] [SCRIPT | -]\n";

constexpr char kSummary[] = R"(
Runs one session of the Velmora bench (the magnetic field of a circular
current) without any window, and prints what the student would read. The script
is read from the file SCRIPT, or from standard input when SCRIPT is "-" or not
given.

Options:
  -h, --help   print this help and exit
  --version    print the version and exit
  --           end of the options: a SCRIPT after it may start with "-"

The script is UTF-8 text, one command a line of at most 16 MiB; a carriage
return before the line feed is dropped, nothing else is trimmed. The start-up
Reset runs before the first line, and the decimal separator is the one of the
numeric locale (LC_ALL, LC_NUMERIC, LANG).
  (empty), # TEXT                  nothing
  reset, move, rotate+, rotate-,   press "Начать/Сброс", "Сдвиг", "Поворот +",
  stepx, stepy, start, record,     "Поворот -", "Шаг по X", "Шаг по Y",
  erase                            "В начало", "Записать", "Стереть"
  set KEY=VALUE                    type VALUE into the table's row named KEY,
                                   e.g. "set Шаг (см)=2,5"
  fix on|off                       tick or clear "Фиксировать угол"
  circulation on|off               tick or clear "Рассчитывать циркуляцию"
  protocol on|off                  tick or clear "Записывать протокол"
  separator C                      make C the decimal separator
  table, log, scene                print the table, the protocol, the plot
A command that fails prints "error: MESSAGE", and the script goes on.

Exit status: 0 when the script ran to its end, 1 when the output could not be
written, 2 when the run stopped at a bad line, a line over 16 MiB, a script
that cannot be read, memory that ran out, or a bad command line.
)";

/// Writes `text` to standard output; the status tells whether it could be written.
int Print(std::string_view text) {
    Output out(stdout);
    out.Write(text);
    return out.Finish(stderr, kExitRan);
}

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "velmora-cli: %s\n%s", problem.c_str(), kUsage);
    return kExitBadScript;
}

/// Options are taken in order wherever they stand before "--"; the scripts are counted after.
int Run(int argc, char** argv) {
#ifdef _WIN32
    // Bytes as they are, as on every other system: no "\r" added to the line ends of the
    // output, the help and the messages, and a script's Ctrl-Z is a byte of it, not its end.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const char* script = nullptr;
    const char* secondScript = nullptr;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            if (argument == "-h" || argument == "--help")
                return Print(std::string(kUsage) + kSummary);
            if (argument == "--version")
                return Print("velmora-cli (Velmora) " VELMORA_VERSION "\n");
            return UsageError("unknown option: " + Quoted(argument));
        } else if (script == nullptr) {
            script = argv[i];
        } else if (secondScript == nullptr) {
            secondScript = argv[i];
        }
    }
    if (secondScript != nullptr)
        return UsageError("more than one script: " + Quoted(secondScript));

    velmora::LoadFormatSettings();
    if (script == nullptr || std::string_view(script) == "-")
        return RunScript(stdin, "<stdin>", stdout, stderr);
    std::FILE* file = std::fopen(script, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "velmora-cli: %s: cannot be read: %s\n", script, std::strerror(errno));
        return kExitBadScript;
    }
    const int status = RunScript(file, script, stdout, stderr);
    std::fclose(file);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fflush(stdout);
        std::fputs("velmora-cli: out of memory\n", stderr);
        return kExitBadScript;
    } catch (const std::exception& e) {
        // Neither a bench error (those are printed as error lines) nor a script problem:
        // say what went wrong rather than abort.
        std::fflush(stdout);
        std::fprintf(stderr, "velmora-cli: %s\n", e.what());
        return kExitFailed;
    }
}
