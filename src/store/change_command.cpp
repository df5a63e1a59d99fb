#include "store/change_command.h"

#include "store/change_format.h"
#include "store/home_store.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

extern char** environ;

namespace vantrel {

namespace {

// A command that does not read its input must not end us with SIGPIPE.
class IgnoredSigpipe {
public:
    IgnoredSigpipe() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, &old_);
    }
    ~IgnoredSigpipe() { sigaction(SIGPIPE, &old_, nullptr); }

private:
    struct sigaction old_ {};
};

}  // namespace

int runChangeCommand(const std::string& command, const std::string& input) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t child = -1;
    const int spawned =
        posix_spawn(&child, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[0]);
    if (spawned != 0) {
        close(pipeEnds[1]);
        return -1;
    }
    {
        IgnoredSigpipe quiet;
        std::size_t written = 0;
        while (written < input.size()) {
            const ssize_t n = write(pipeEnds[1], input.data() + written, input.size() - written);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;  // the command stopped reading: what it read is its business
            written += static_cast<std::size_t>(n);
        }
        close(pipeEnds[1]);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::optional<std::string> runCommandForChange(const std::string& command, const HardwareChange& change) {
    const int status = runChangeCommand(command, changesToJson(change.header, change.changes));
    if (status == 0) return std::nullopt;
    return status < 0 ? std::string("could not be run") : "exited with " + std::to_string(status);
}

}  // namespace vantrel
