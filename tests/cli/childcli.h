#pragma once
// tarvex-cli run as a child process whose standard output is read as it comes, for the tests and
// the benchmark of `follow`. POSIX only.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace tarvex::testing {

class TChildCli
{
public:
    // Starts the program with its arguments; its stderr goes to errFile.
    TChildCli(const std::vector<std::string>& argv, const std::string& errFile)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        Pid = ::fork();
        if (Pid == 0) {
            ::dup2(fds[1], 1);
            const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (err >= 0)
                ::dup2(err, 2);
            ::close(fds[0]);
            ::close(fds[1]);
            std::vector<char*> args;
            for (const std::string& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        Fd = fds[0];
    }
    ~TChildCli()
    {
        if (Pid > 0) {
            ::kill(Pid, SIGKILL);
            ::waitpid(Pid, nullptr, 0);
        }
        if (Fd >= 0)
            ::close(Fd);
    }
    TChildCli(const TChildCli&) = delete;
    TChildCli& operator=(const TChildCli&) = delete;

    bool Started() const { return Pid > 0 && Fd >= 0; }

    // Waits up to ms for output and appends what came to Out; false once the output has ended.
    bool Read(int ms)
    {
        if (Fd < 0)
            return false;
        pollfd p{Fd, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0)
            return true;
        char buf[65536];
        const ssize_t n = ::read(Fd, buf, sizeof buf);
        if (n <= 0) {
            ::close(Fd);
            Fd = -1;
            return false;
        }
        Out.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    // Reads until Out holds text or ms have gone by; whether it came.
    bool WaitFor(const std::string& text, int ms)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (Out.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() >= until || !Read(10))
                return Out.find(text) != std::string::npos;
        }
        return true;
    }

    void Signal(int sig) { ::kill(Pid, sig); }

    // Reads the output to its end and gives the exit status: -1 for a death by signal, -2 when
    // the output had not ended after ms (the child is killed then).
    int Finish(int ms = 30000)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (Read(100))
            if (std::chrono::steady_clock::now() >= until) {
                ::kill(Pid, SIGKILL);
                ::waitpid(Pid, nullptr, 0);
                Pid = -1;
                return -2;
            }
        int status = 0;
        ::waitpid(Pid, &status, 0);
        Pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Out;

private:
    pid_t Pid = -1;
    int Fd = -1;
};

}  // namespace tarvex::testing
