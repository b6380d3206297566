#pragma once
// What the crash and append harnesses share: whole-file access without the code under test,
// child processes run and killed, a clock, and counters printed as name<TAB>value lines.
#include <sys/types.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace harness {

// The whole file, or nothing when it does not exist.
std::optional<std::string> ReadAll(const std::string& path);
// Makes the file hold exactly data (created when missing); exits the harness on failure.
void WriteAll(const std::string& path, const std::string& data);
void Remove(const std::string& path);
bool Exists(const std::string& path);

// Starts argv[0] with the arguments; its output goes to outPath (or is dropped when empty).
pid_t Spawn(const std::vector<std::string>& argv, const std::string& outPath = {});
// Waits for the child: its exit code, or -signal when a signal ended it.
int Wait(pid_t pid);
// Whether the child has ended, without waiting; code as Wait gives it.
bool TryWait(pid_t pid, int& code);
// Runs to the end and gives the exit code.
int Run(const std::vector<std::string>& argv, const std::string& outPath = {});

double Now();  // seconds, monotonic
void Sleep(double seconds);

// Named counts, printed in the order first counted.
class TCounts
{
public:
    void Add(const std::string& name, std::uint64_t n = 1);
    std::uint64_t Get(const std::string& name) const;
    void Print(const std::string& harness) const;

private:
    std::vector<std::string> Order;
    std::map<std::string, std::uint64_t> Values;
};

// --name value options; exits with a usage message on anything else.
class TArgs
{
public:
    TArgs(int argc, char** argv, const std::string& usage);
    std::string Get(const std::string& name, const std::string& fallback) const;
    std::uint64_t Number(const std::string& name, std::uint64_t fallback) const;

private:
    std::map<std::string, std::string> Values;
    std::string Usage;
};

}  // namespace harness
