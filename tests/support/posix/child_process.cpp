#include "support/posix/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <grp.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kalvian::test {

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

int memoryFile(const char* name) {
    const int fd = ::memfd_create(name, MFD_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error(std::string("memfd_create: ") + std::strerror(errno));
    }
    return fd;
}

std::string readAll(int fd) {
    std::string bytes;
    char buffer[4096];
    ::lseek(fd, 0, SEEK_SET);
    for (long got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            return;
        }
        done += static_cast<std::size_t>(written);
    }
}

// Only async-signal-safe calls from here on: the child of a fork.
[[noreturn]] void dieInChild(const char* what) {
    const char* reason = std::strerror(errno);
    ::write(STDERR_FILENO, what, std::strlen(what));
    ::write(STDERR_FILENO, ": ", 2);
    ::write(STDERR_FILENO, reason, std::strlen(reason));
    ::write(STDERR_FILENO, "\n", 1);
    ::_exit(125);
}

void becomeOrdinaryUser() {
    const OrdinaryUser user = OrdinaryUser::forTests();
    if (::getuid() != user.uid &&
        (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0)) {
        dieInChild("dropping privileges");
    }
}

// The caller's environment with the settings in place of the variables they name.
std::vector<std::string> environmentWith(const std::vector<std::string>& settings) {
    std::vector<std::string> environment;
    const auto named = [](const std::string& variable, const std::string& setting) {
        const std::size_t equals = setting.find('=');
        return variable.compare(0, equals + 1, setting, 0, equals + 1) == 0;
    };
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string text = *variable;
        if (std::none_of(settings.begin(), settings.end(),
                         [&](const std::string& setting) { return named(text, setting); })) {
            environment.push_back(text);
        }
    }
    environment.insert(environment.end(), settings.begin(), settings.end());
    return environment;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts) {
        result.push_back(text.data());
    }
    result.push_back(nullptr);
    return result;
}

} // namespace

OrdinaryUser OrdinaryUser::forTests() {
    return ::getuid() == 0 ? OrdinaryUser{kNobody, kNobody} : OrdinaryUser{::getuid(), ::getgid()};
}

void OrdinaryUser::own(const fs::path& path) const {
    if (::lchown(path.c_str(), uid, gid) != 0) {
        throw std::runtime_error("lchown " + path.string() + ": " + std::strerror(errno));
    }
    if (fs::is_directory(fs::symlink_status(path))) {
        for (const auto& entry : fs::directory_iterator(path)) {
            own(entry.path());
        }
    }
}

template <class Child> void ChildProcess::start(bool asOrdinaryUser, Child child) {
    m_out = memoryFile("stdout");
    m_err = memoryFile("stderr");
    m_pid = ::fork();
    if (m_pid < 0) {
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    }
    if (m_pid == 0) {
        const int input = ::open("/dev/null", O_RDONLY);
        if (input < 0 || ::dup2(input, STDIN_FILENO) < 0 || ::dup2(m_out, STDOUT_FILENO) < 0 ||
            ::dup2(m_err, STDERR_FILENO) < 0) {
            dieInChild("redirecting");
        }
        if (asOrdinaryUser) {
            becomeOrdinaryUser();
        }
        child();
    }
}

ChildProcess::ChildProcess(const Program& program, bool asOrdinaryUser) {
    std::vector<std::string> arguments = program.arguments;
    std::vector<std::string> environment = environmentWith(program.settings);
    const std::vector<char*> argv = pointers(arguments);
    const std::vector<char*> envp = pointers(environment);
    const std::string folder = program.workingFolder.string();
    start(asOrdinaryUser, [&] {
        if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
            dieInChild("chdir");
        }
        ::execve(argv[0], argv.data(), envp.data());
        dieInChild(argv[0]);
    });
}

ChildProcess::ChildProcess(const std::function<std::string()>& work, bool asOrdinaryUser) {
    start(asOrdinaryUser, [&] {
        try {
            writeAll(STDOUT_FILENO, work());
        } catch (const std::exception& error) {
            writeAll(STDERR_FILENO, error.what());
            ::_exit(124);
        }
        ::_exit(0);
    });
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    for (const int fd : {m_out, m_err}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void ChildProcess::signal(int number) const {
    ::kill(m_pid, number);
}

bool ChildProcess::waitForFileOpenIn(const fs::path& folder, std::chrono::milliseconds timeout) const {
    const std::string inside = fs::canonical(folder).string() + "/";
    const fs::path descriptors = "/proc/" + std::to_string(m_pid) + "/fd";
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
            info.si_pid == m_pid) {
            return false;
        }
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(descriptors, error)) {
            const fs::path opened = fs::read_symlink(entry.path(), error);
            if (!error && opened.string().rfind(inside, 0) == 0) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

ProcessEnd ChildProcess::wait() {
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    ProcessEnd end;
    if (WIFEXITED(status)) {
        end.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        end.signal = WTERMSIG(status);
    }
    end.out = readAll(m_out);
    end.err = readAll(m_err);
    return end;
}

ProcessEnd runProgram(const Program& program) {
    return ChildProcess(program).wait();
}

} // namespace kalvian::test
