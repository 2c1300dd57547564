#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "Script.h"

namespace velmora {

/// What velmora-cli's RunScript answered a script with.
struct ScriptRun {
    int status = -1;
    std::string out;  ///< standard output, byte for byte
    std::string err;  ///< standard error, byte for byte
};

namespace detail {
/// The whole content of `file`, read from its start.
inline std::string ContentOf(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string content;
    char chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        content.append(chunk, n);
    return content;
}
}  // namespace detail

/// Runs `script`, held in memory, through cli::RunScript as if read from a file called
/// `name` (the name its error messages show). The script and both outputs go through
/// temporary files, which every platform has (memory streams are POSIX only).
inline ScriptRun RunScriptText(std::string_view script, const char* name = "test.script") {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fwrite(script.data(), 1, script.size(), in);
    std::rewind(in);
    ScriptRun run;
    run.status = cli::RunScript(in, name, out, err);
    run.out = detail::ContentOf(out);
    run.err = detail::ContentOf(err);
    for (std::FILE* file : {in, out, err})
        std::fclose(file);
    return run;
}

}  // namespace velmora
