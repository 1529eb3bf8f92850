#include "support/run_program.h"

#include "platform/windows/wide_text.h"

#include <windows.h>
#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace kalvian::test {

namespace {

[[noreturn]] void fail(const char* what) {
    throw std::runtime_error(std::string(what) + " failed with error " + std::to_string(::GetLastError()));
}

// One argument as the child's C runtime (CommandLineToArgvW's rules) reads it back: quoted when empty or
// holding blanks or quotes, a backslash doubled only where a quote follows it.
std::wstring quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t ch : argument) {
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(ch == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        result += ch;
    }
    result.append(backslashes * 2, L'\\');
    return result + L'"';
}

std::wstring commandLine(const std::vector<std::string>& arguments) {
    std::wstring line;
    for (const std::string& argument : arguments) {
        line += (line.empty() ? L"" : L" ") + quoted(toWide(argument));
    }
    return line;
}

// The caller's environment with the settings in place of the variables they name (names are
// case-insensitive), as the block CreateProcessW takes: each "NAME=value" ended by a zero, then a zero.
std::wstring environmentWith(const std::vector<std::string>& settings) {
    std::vector<std::wstring> wideSettings;
    for (const std::string& setting : settings) {
        wideSettings.push_back(toWide(setting));
    }
    const auto named = [](const std::wstring& variable, const std::wstring& setting) {
        const std::size_t equals = setting.find(L'=') + 1;
        return variable.size() >= equals &&
               ::CompareStringOrdinal(variable.data(), static_cast<int>(equals), setting.data(),
                                      static_cast<int>(equals), TRUE) == CSTR_EQUAL;
    };
    std::wstring block;
    wchar_t* const strings = ::GetEnvironmentStringsW();
    for (const wchar_t* variable = strings; *variable != L'\0'; variable += std::wcslen(variable) + 1) {
        const std::wstring text = variable;
        if (std::none_of(wideSettings.begin(), wideSettings.end(),
                         [&](const std::wstring& setting) { return named(text, setting); })) {
            block += text + L'\0';
        }
    }
    ::FreeEnvironmentStringsW(strings);
    for (const std::wstring& setting : wideSettings) {
        block += setting + L'\0';
    }
    return block + L'\0';
}

// A handle closed when it goes away.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return m_handle; }
    HANDLE* put() { return &m_handle; }
    void reset() {
        if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_handle);
        }
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};

std::string readAll(HANDLE pipe) {
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

// Handles made inheritable for one child are closed before another child starts, so that no child holds
// another's pipe open (its reader would wait for that child's end too).
std::mutex g_starting;

} // namespace

ProcessEnd runProgram(const Program& program) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    Handle outRead;
    Handle errRead;
    PROCESS_INFORMATION started{};
    {
        const std::lock_guard lock(g_starting);
        Handle outWrite;
        Handle errWrite;
        if (!::CreatePipe(outRead.put(), outWrite.put(), &inherited, 0) ||
            !::CreatePipe(errRead.put(), errWrite.put(), &inherited, 0)) {
            fail("CreatePipe");
        }
        ::SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);
        const Handle nothing(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                           OPEN_EXISTING, 0, nullptr));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nothing.get();
        startup.hStdOutput = outWrite.get();
        startup.hStdError = errWrite.get();
        const std::wstring application = toWide(program.arguments.at(0));
        std::wstring line = commandLine(program.arguments);
        std::wstring environment = environmentWith(program.settings);
        const std::wstring folder = program.workingFolder.wstring();
        if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE,
                              CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(),
                              folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
            fail("CreateProcessW");
        }
    }
    const Handle process(started.hProcess);
    const Handle thread(started.hThread);
    ProcessEnd end;
    std::thread errors([&] { end.err = readAll(errRead.get()); });
    end.out = readAll(outRead.get());
    errors.join();
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    end.exitCode = static_cast<int>(code);
    return end;
}

} // namespace kalvian::test
