// game_process.cpp: child processes with captured output.
#include "tests/support/game_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testsupport {

namespace {

constexpr auto POLL_INTERVAL = std::chrono::milliseconds(10);
constexpr std::size_t READ_CHUNK = 4096; // bytes
constexpr int EXIT_CHILD_FAILED = 127;    // the child could not start the program

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (auto& s : strings) {
        result.push_back(s.data());
    }
    result.push_back(nullptr);
    return result;
}

void readAvailable(int fd, std::string& into) {
    if (fd < 0) {
        return;
    }
    char buffer[READ_CHUNK];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            return;
        }
        into.append(buffer, static_cast<std::size_t>(n));
    }
}

// Starts argv with the given working folder, environment additions and output
// descriptors. The child is killed when the test process ends, however it ends,
// so a crashed test leaves no game window behind.
pid_t spawn(const std::vector<std::string>& argv, const std::string& workingDir,
            const std::map<std::string, std::string>& extraEnv, int outFd, int errFd) {
    std::vector<std::string> args = argv;
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string key = entry.substr(0, entry.find('='));
        if (extraEnv.count(key) == 0) {
            env.push_back(entry);
        }
    }
    for (const auto& [key, value] : extraEnv) {
        env.push_back(key + "=" + value);
    }
    auto argp = pointers(args);
    auto envp = pointers(env);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    // In the child: only async-signal-safe calls until exec.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        _exit(EXIT_CHILD_FAILED);
    }
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull < 0 || dup2(devNull, STDIN_FILENO) < 0 || dup2(outFd, STDOUT_FILENO) < 0 ||
        dup2(errFd, STDERR_FILENO) < 0 || (!workingDir.empty() && chdir(workingDir.c_str()) != 0)) {
        _exit(EXIT_CHILD_FAILED);
    }
    execvpe(argp[0], argp.data(), envp.data());
    _exit(EXIT_CHILD_FAILED);
}

} // namespace

GameProcess::GameProcess(const std::vector<std::string>& command, const std::string& workingDir,
                         const std::map<std::string, std::string>& env) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        return;
    }
    pid_ = spawn(command, workingDir, env, out[1], err[1]);
    close(out[1]);
    close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
    fcntl(outFd_, F_SETFL, O_NONBLOCK);
    fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

GameProcess::~GameProcess() {
    if (running()) {
        kill(pid_, SIGKILL);
        waitForExit(std::chrono::seconds(5));
    }
    if (outFd_ >= 0) {
        close(outFd_);
    }
    if (errFd_ >= 0) {
        close(errFd_);
    }
}

void GameProcess::drain() {
    readAvailable(outFd_, out_);
    readAvailable(errFd_, err_);
}

bool GameProcess::running() {
    if (pid_ < 0 || status_) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        drain();
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

std::optional<int> GameProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running() && std::chrono::steady_clock::now() < deadline) {
        drain();
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
    drain();
    return status_;
}

const std::string& GameProcess::standardOutput() {
    drain();
    return out_;
}

const std::string& GameProcess::standardError() {
    drain();
    return err_;
}

std::vector<std::string> GameProcess::outputLines() {
    std::vector<std::string> lines;
    const std::string& text = standardOutput();
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        std::string line = text.substr(start, end - start);
        // A Windows program's text-mode output ends its lines with "\r\n".
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool GameProcess::waitForLines(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (outputLines().size() < count) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
    return true;
}

int runCommand(const std::vector<std::string>& argv) {
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t pid = spawn(argv, "", {}, devNull, devNull);
    close(devNull);
    if (pid < 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runCommand(argv) == 0;
}

} // namespace testsupport
