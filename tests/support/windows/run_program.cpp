#include "support/run_program.h"

#include "platform/windows/wide_text.h"

#include <windows.h>
#include <algorithm>
#include <stdexcept>

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
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_handle);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// A file for one of the child's streams, gone when its last handle closes. A file rather than a pipe: the
// child's end is read once it has exited, whoever else may have inherited a handle to it.
HANDLE streamFile(SECURITY_ATTRIBUTES& inherited) {
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (::GetTempPathW(MAX_PATH + 1, folder) == 0 || ::GetTempFileNameW(folder, L"out", 0, name) == 0) {
        fail("GetTempFileNameW");
    }
    const HANDLE file = ::CreateFileW(
        name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail("CreateFileW");
    }
    return file;
}

// What the child wrote, from the start of the file.
std::string readAll(HANDLE file) {
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

// A child that has not ended by then is taken for hung: stopped, and its end is a failure.
constexpr DWORD kLongestRun = 5 * 60 * 1000;

} // namespace

ProcessEnd runProgram(const Program& program) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const Handle out(streamFile(inherited));
    const Handle err(streamFile(inherited));
    const Handle nothing(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                       OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing.get();
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    const std::wstring application = toWide(program.arguments.at(0));
    std::wstring line = commandLine(program.arguments);
    std::wstring environment = environmentWith(program.settings);
    const std::wstring folder = program.workingFolder.wstring();
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE,
                          CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(),
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        fail("CreateProcessW");
    }
    const Handle process(started.hProcess);
    const Handle thread(started.hThread);
    ProcessEnd end;
    if (::WaitForSingleObject(process.get(), kLongestRun) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), INFINITE);
        end.err = "(stopped after " + std::to_string(kLongestRun / 1000) + " s) ";
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    end.exitCode = static_cast<int>(code);
    end.out = readAll(out.get());
    end.err += readAll(err.get());
    return end;
}

} // namespace kalvian::test
