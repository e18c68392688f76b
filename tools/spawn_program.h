#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace ts::tools {

// A started program whose standard error comes through a pipe.
struct SpawnedProgram {
    pid_t pid = -1;     // -1 when it could not be started
    int stderrFd = -1;  // read end of the pipe; the caller closes it
};

// Starts `program` without arguments in this process's environment, where
// each "NAME=value" of `overrides` replaces the variable of that name.
SpawnedProgram spawnWithStderrPipe(const std::string& program,
                                   const std::vector<std::string>& overrides);

}  // namespace ts::tools
