#include "tools/spawn_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>

extern char** environ;

namespace ts::tools {

namespace {

std::string_view nameOf(std::string_view entry) {
    return entry.substr(0, entry.find('='));
}

}  // namespace

SpawnedProgram spawnWithStderrPipe(const std::string& program,
                                   const std::vector<std::string>& overrides) {
    SpawnedProgram spawned;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return spawned;
    }
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry = *e;
        const bool replaced =
            std::any_of(overrides.begin(), overrides.end(),
                        [&](const std::string& o) { return nameOf(o) == nameOf(entry); });
        if (!replaced) {
            env.emplace_back(entry);
        }
    }
    env.insert(env.end(), overrides.begin(), overrides.end());
    std::vector<char*> envp;
    envp.reserve(env.size() + 1);
    for (auto& entry : env) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (failed != 0) {
        ::close(fds[0]);
        return spawned;
    }
    spawned.pid = pid;
    spawned.stderrFd = fds[0];
    return spawned;
}

}  // namespace ts::tools
