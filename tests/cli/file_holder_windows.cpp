#include "file_holder_windows.h"

#include <windows.h>
#include <stdexcept>
#include <string>

namespace kalvian::test {

namespace {

[[noreturn]] void fail(const char* what) {
    throw std::runtime_error(std::string(what) + " failed with error " + std::to_string(::GetLastError()));
}

} // namespace

FileHolder::FileHolder(const std::filesystem::path& file, const std::string& access,
                       const std::string& share) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE inputWrite = nullptr;
    HANDLE outputRead = nullptr;
    HANDLE outputWrite = nullptr;
    if (!::CreatePipe(&inputRead, &inputWrite, &inherited, 0) ||
        !::CreatePipe(&outputRead, &outputWrite, &inherited, 0)) {
        fail("CreatePipe");
    }
    // The test's own ends stay here.
    ::SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = outputWrite;
    const std::filesystem::path program = KALVIAN_HOLD_FILE_PROGRAM;
    std::wstring line = L"\"" + program.wstring() + L"\" \"" + file.wstring() + L"\" " +
                        std::wstring(access.begin(), access.end()) + L" " +
                        std::wstring(share.begin(), share.end());
    PROCESS_INFORMATION started{};
    const bool ran = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                      nullptr, nullptr, &startup, &started);
    ::CloseHandle(inputRead);
    ::CloseHandle(outputWrite);
    if (!ran) {
        fail("CreateProcessW");
    }
    ::CloseHandle(started.hThread);
    m_process = started.hProcess;
    m_input = inputWrite;
    // Its first words: "pronto", or why it could not hold the file; then it waits, or has ended.
    std::string said;
    char buffer[256];
    DWORD got = 0;
    while (said.find('\n') == std::string::npos &&
           ::ReadFile(outputRead, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        said.append(buffer, got);
    }
    ::CloseHandle(outputRead);
    // Its C runtime writes a text stream: the line ends in CR LF.
    m_holding = said == "pronto\r\n";
}

FileHolder::~FileHolder() {
    ::CloseHandle(m_input);
    ::WaitForSingleObject(m_process, INFINITE);
    ::CloseHandle(m_process);
}

} // namespace kalvian::test
