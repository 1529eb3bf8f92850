#pragma once

#include "support/run_program.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>

namespace kalvian::test {

// The user a child runs as when it must meet permission checks: root, whom permissions do not stop, becomes
// nobody (65534); anyone else stays who they are.
struct OrdinaryUser {
    uid_t uid;
    gid_t gid;

    static OrdinaryUser forTests();
    // Makes a folder (and everything it holds) belong to that user.
    void own(const std::filesystem::path& path) const;
};

// A real child process that a test may signal or watch while it runs: a program, or a function of the test
// program run in a fork. Its stdout and stderr are kept in memory files. A child still running when the
// object goes away is killed.
class ChildProcess {
public:
    explicit ChildProcess(const Program& program, bool asOrdinaryUser = false);
    // The function's result becomes the child's stdout; it exits with 0 when the function returns.
    explicit ChildProcess(const std::function<std::string()>& work, bool asOrdinaryUser = false);
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }
    void signal(int number) const;

    // True once the child holds a file open inside the folder (false when it ended or the time ran out).
    bool waitForFileOpenIn(const std::filesystem::path& folder,
                           std::chrono::milliseconds timeout = std::chrono::seconds(60)) const;

    ProcessEnd wait();

private:
    template <class Child> void start(bool asOrdinaryUser, Child child);

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
};

} // namespace kalvian::test
