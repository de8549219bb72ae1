// game_process.h: the real game binary as a child process, and xdotool.
//
// Owns one child process and the pipes of its standard output and error until
// it is waited for or the object is destroyed (which kills a child still
// running). End-to-end tests start the game in a run folder and drive it.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

class GameProcess {
public:
    // Starts `command` (program, then its arguments) in `workingDir` with extra
    // environment `env` (added to ours).
    GameProcess(const std::vector<std::string>& command, const std::string& workingDir,
                const std::map<std::string, std::string>& env = {});
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool running();
    // Waits for the exit status, up to `timeout`; empty if still running then.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // Everything the child wrote so far to standard output / error.
    const std::string& standardOutput();
    const std::string& standardError();
    // Standard output split into lines (without line ends, "\n" or Windows' "\r\n").
    std::vector<std::string> outputLines();
    // Waits until standard output holds at least `count` lines.
    bool waitForLines(std::size_t count, std::chrono::milliseconds timeout);

private:
    void drain();
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::optional<int> status_;
    std::string out_;
    std::string err_;
};

// Runs xdotool with `args` and waits for it; returns true on exit status 0.
bool xdotool(const std::vector<std::string>& args);

// Exit status of a shell-free command run to completion, with output discarded.
int runCommand(const std::vector<std::string>& argv);

} // namespace testsupport
