#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "Script.h"

// Running a script held in memory through velmora-cli's RunScript, on every platform: the
// script and both outputs go through temporary files.
namespace velmora::cli {

/// What a run gave: its status, standard output and standard error.
struct Ran {
    int status = -1;
    std::string out;
    std::string err;
};

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

/// Runs `script` as the script named `name`.
inline Ran RunText(std::string_view script, std::string_view name = "test.script") {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fwrite(script.data(), 1, script.size(), in);
    std::rewind(in);
    Ran ran;
    ran.status = RunScript(in, name, out, err);
    ran.out = ContentOf(out);
    ran.err = ContentOf(err);
    for (std::FILE* file : {in, out, err})
        std::fclose(file);
    return ran;
}

}  // namespace velmora::cli
