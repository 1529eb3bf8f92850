#include "platform/process.h"

#include "platform/windows/console_interrupt.h"
#include "platform/windows/wide_text.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace kalvian {

std::vector<std::string> commandLineArguments(int, char*[]) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(toUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

namespace {

UINT g_consoleCodePage = 0;

// The console is the user's, shared with the commands run after this one: it gets its code page back.
void restoreConsoleCodePage() {
    ::SetConsoleOutputCP(g_consoleCodePage);
}

} // namespace

void useStandardStreamsAsBytes() {
    g_consoleCodePage = ::GetConsoleOutputCP();
    if (g_consoleCodePage != 0 && g_consoleCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        std::atexit(restoreConsoleCodePage);
        endOnConsoleInterrupt(restoreConsoleCodePage);
    } else {
        endOnConsoleInterrupt(nullptr);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
}

std::string currentFolder() {
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(needed, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(needed, folder.data());
    if (length == 0 || length >= needed) {
        return ".";
    }
    folder.resize(length);
    return toUtf8(folder);
}

bool standardErrorIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void markWindowOpen() {
    // The installer's name for it (packaging/windows/kalvian.nsi); the system closes it with the process.
    ::CreateMutexW(nullptr, FALSE, L"Kalvian.JanelaAberta");
}

} // namespace kalvian
