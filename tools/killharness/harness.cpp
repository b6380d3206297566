#include "harness.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace harness {

std::optional<std::string> ReadAll(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string out;
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return out;
}

void WriteAll(const std::string& path, const std::string& data)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    std::size_t done = 0;
    while (fd >= 0 && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    if (fd < 0 || done != data.size()) {
        std::fprintf(stderr, "harness: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        std::exit(3);
    }
    ::close(fd);
}

void Remove(const std::string& path) { ::unlink(path.c_str()); }

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

pid_t Spawn(const std::vector<std::string>& argv, const std::string& outPath)
{
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("harness: fork");
        std::exit(3);
    }
    if (pid == 0) {
        const int out = ::open(outPath.empty() ? "/dev/null" : outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = ::open("/dev/null", O_WRONLY);
        if (out >= 0)
            ::dup2(out, 1);
        if (null >= 0)
            ::dup2(null, 2);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? -WTERMSIG(status) : -1;
}

bool TryWait(pid_t pid, int& code)
{
    int status = 0;
    pid_t r;
    while ((r = ::waitpid(pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (r != pid)
        return false;
    code = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? -WTERMSIG(status) : -1;
    return true;
}

int Run(const std::vector<std::string>& argv, const std::string& outPath) { return Wait(Spawn(argv, outPath)); }

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Sleep(double seconds)
{
    if (seconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void TCounts::Add(const std::string& name, std::uint64_t n)
{
    if (!Values.count(name))
        Order.push_back(name);
    Values[name] += n;
}

std::uint64_t TCounts::Get(const std::string& name) const
{
    const auto it = Values.find(name);
    return it == Values.end() ? 0 : it->second;
}

void TCounts::Print(const std::string& harness) const
{
    for (const std::string& name : Order)
        std::printf("%s\t%s\t%llu\n", harness.c_str(), name.c_str(), static_cast<unsigned long long>(Values.at(name)));
    std::fflush(stdout);
}

TArgs::TArgs(int argc, char** argv, const std::string& usage) : Usage(usage)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--", 0) != 0 || i + 1 >= argc) {
            std::fprintf(stderr, "%s", Usage.c_str());
            std::exit(2);
        }
        Values[a.substr(2)] = argv[++i];
    }
}

std::string TArgs::Get(const std::string& name, const std::string& fallback) const
{
    const auto it = Values.find(name);
    return it == Values.end() ? fallback : it->second;
}

std::uint64_t TArgs::Number(const std::string& name, std::uint64_t fallback) const
{
    const auto it = Values.find(name);
    if (it == Values.end())
        return fallback;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(it->second.c_str(), &end, 10);
    if (it->second.empty() || *end != '\0') {
        std::fprintf(stderr, "%s", Usage.c_str());
        std::exit(2);
    }
    return v;
}

}  // namespace harness
