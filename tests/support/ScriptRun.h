#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Script.h"

namespace velmora {

/// What velmora-cli's RunScript answered a script with.
struct ScriptRun {
    int status = -1;
    std::string out;  ///< standard output, byte for byte
    std::string err;  ///< standard error, byte for byte
};

/// Runs `script`, held in memory, through cli::RunScript as if read from a file called
/// `name` (the name its error messages show).
inline ScriptRun RunScriptText(const std::string& script, const char* name = "test.script") {
    std::FILE* in = fmemopen(const_cast<char*>(script.data()), script.size(), "rb");
    char* outData = nullptr;
    std::size_t outSize = 0;
    char* errData = nullptr;
    std::size_t errSize = 0;
    std::FILE* out = open_memstream(&outData, &outSize);
    std::FILE* err = open_memstream(&errData, &errSize);
    ScriptRun run;
    run.status = cli::RunScript(in, name, out, err);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    run.out.assign(outData, outSize);
    run.err.assign(errData, errSize);
    std::free(outData);
    std::free(errData);
    return run;
}

}  // namespace velmora
