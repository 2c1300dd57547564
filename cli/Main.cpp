// velmora-cli [SCRIPT]: runs one bench session from a script, without any window, and
// prints what the student would read. See README.md, section velmora-cli.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "NumText.h"
#include "Script.h"

namespace {

int Run(int argc, char** argv) {
    using namespace velmora::cli;
    if (argc > 2) {
        std::fprintf(stderr, "usage: velmora-cli [SCRIPT]\n");
        return ExitBadScript;
    }
    velmora::LoadFormatSettings();
#ifdef _WIN32
    // Bytes as they are, as on every other system: no "\r" added to the output's line ends,
    // and a script's Ctrl-Z is a byte of it, not its end.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc == 1)
        return RunScript(stdin, "<stdin>", stdout, stderr);

    std::FILE* script = std::fopen(argv[1], "rb");
    if (script == nullptr) {
        std::fprintf(stderr, "velmora-cli: %s: cannot be read: %s\n", argv[1],
                     std::strerror(errno));
        return ExitBadScript;
    }
    const int status = RunScript(script, argv[1], stdout, stderr);
    std::fclose(script);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        // Not a bench error (those are printed as error lines): the machine ran out of
        // something. Say so rather than abort.
        std::fflush(stdout);
        std::fprintf(stderr, "velmora-cli: %s\n", e.what());
        return velmora::cli::ExitFailed;
    }
}
