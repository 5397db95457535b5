#include "sweep/pool.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/write_all.h"

namespace {

struct Child {
    pid_t pid;
    int fd;  // the read end of the pipe the rows come through
    int64_t run;
    std::string rows;
};

// The child's side: runs one run and sends its rows. Never returns.
[[noreturn]] void run_child(const RunSetup& setup, int64_t run, int fd, pid_t parent) {
    // A sweep killed outright must not leave runs computing for nobody.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);
    std::string rows, error;
    if (!execute_run(setup, run, rows, error)) {
        std::fprintf(stderr, "lumora-sweep: run %" PRId64 " failed: %s\n", run, error.c_str());
        _exit(1);
    }
    // _exit, not exit: the parent's exit handlers and buffers are not the child's to run.
    _exit(write_all(fd, rows) ? 0 : 1);
}

bool start_child(const RunSetup& setup, int64_t run, std::vector<Child>& children) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "lumora-sweep: cannot start run %" PRId64 ": %s\n", run,
                     std::strerror(errno));
        return false;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        for (const Child& c : children) close(c.fd);
        run_child(setup, run, ends[1], parent);
    }
    close(ends[1]);
    if (pid < 0) {
        std::fprintf(stderr, "lumora-sweep: cannot start run %" PRId64 ": %s\n", run,
                     std::strerror(errno));
        close(ends[0]);
        return false;
    }
    children.push_back(Child{pid, ends[0], run, {}});
    return true;
}

// Collects a child whose pipe has closed and writes its rows if it succeeded.
bool finish_child(Child& child, int out_fd) {
    close(child.fd);
    int status = 0;
    while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        std::fprintf(stderr, "lumora-sweep: run %" PRId64 " failed: ended by signal %d\n",
                     child.run, WTERMSIG(status));
        return false;
    }
    // A child that failed has said why.
    if (WEXITSTATUS(status) != 0) return false;
    if (!write_all(out_fd, child.rows)) {
        std::fprintf(stderr, "lumora-sweep: writing the rows of run %" PRId64 " failed: %s\n",
                     child.run, std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

bool run_pool(const RunSetup& setup, const std::function<int64_t()>& next_run, int jobs, int out_fd,
              const std::function<void()>& run_done) {
    std::vector<Child> children;
    std::vector<pollfd> waiting;
    bool ok = true;
    bool more = true;
    for (;;) {
        while (ok && more && static_cast<int>(children.size()) < jobs) {
            const int64_t run = next_run();
            more = run >= 0;
            if (more) ok = start_child(setup, run, children);
        }
        if (children.empty()) return ok;

        waiting.clear();
        for (const Child& c : children) waiting.push_back(pollfd{c.fd, POLLIN, 0});
        if (poll(waiting.data(), waiting.size(), -1) < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "lumora-sweep: waiting for runs failed: %s\n",
                         std::strerror(errno));
            std::abort();
        }
        for (size_t i = waiting.size(); i-- > 0;) {
            if (waiting[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = read(children[i].fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n > 0) {
                children[i].rows.append(buffer, static_cast<size_t>(n));
                continue;
            }
            // End of the pipe: the child has sent everything or died.
            if (finish_child(children[i], out_fd))
                run_done();
            else
                ok = false;
            children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}
