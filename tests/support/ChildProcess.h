#pragma once
// A child process owned by a test: started in a process group of its own, and
// killed (the whole group) and reaped when the guard goes, also when an
// assertion ends the test early, so no child outlives its test.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

class ChildProcess {
public:
    // Runs `command` through /bin/sh, its standard input empty. Standard
    // output and error go to outputFd when one is given (the guard does not
    // close it).
    explicit ChildProcess(const std::string& command, int outputFd = -1) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // Nothing is typed: a command that would ask on a terminal must not
        // wait for the test's (the command may redirect its input itself).
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        if (outputFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
            posix_spawn_file_actions_adddup2(&actions, outputFd, STDERR_FILENO);
        }
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setpgroup(&attributes, 0);
        // The child must not inherit a test's blocked signals.
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
        const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        if (posix_spawn(&pid_, "/bin/sh", &actions, &attributes, const_cast<char**>(argv),
                        environ) != 0)
            pid_ = -1;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess() {
        if (pid_ <= 0) return;
        ::kill(-pid_, SIGKILL);
        if (!ended_) ::waitpid(pid_, nullptr, 0);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

    // Sends a signal to the shell's command (the group's leader, which `exec` made it).
    void Signal(int signal) const {
        if (pid_ > 0) ::kill(pid_, signal);
    }

    // Whether the command has ended (it is then reaped; Finish gives its
    // status at once).
    bool Ended() {
        if (pid_ <= 0) return true;
        if (!ended_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
        return ended_;
    }

    // Waits for the end, at most `limit` (then kills): the exit status, or -1
    // when a signal ended it or it had to be killed.
    int Finish(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        if (pid_ <= 0) return -1;
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!Ended() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::kill(-pid_, SIGKILL);  // whatever the command left running in its group
        if (!ended_) ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return ended_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }

private:
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
};
