// kalvian_hold_file PATH ACCESS SHARE: holds a file open as another program (VRK 3's database engine) would,
// for the Windows tests. ACCESS and SHARE are letters among r, w and d (reading, writing, deleting; "-"
// shares nothing). Says "pronto" on stdout once it holds the file, and lets it go when its stdin closes.
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

DWORD flags(const std::string& letters, DWORD read, DWORD write, DWORD remove) {
    DWORD result = 0;
    for (const char letter : letters) {
        result |= letter == 'r' ? read : letter == 'w' ? write : letter == 'd' ? remove : 0;
    }
    return result;
}

} // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc < 4) {
        std::fputs("uso: kalvian_hold_file ARQUIVO ACESSO COMPARTILHAMENTO\n", stderr);
        return 2;
    }
    const std::wstring wideAccess = argv[2];
    const std::wstring wideShare = argv[3];
    const std::string access(wideAccess.begin(), wideAccess.end());
    const std::string share(wideShare.begin(), wideShare.end());
    const HANDLE file = ::CreateFileW(argv[1], flags(access, GENERIC_READ, GENERIC_WRITE, DELETE),
                                      flags(share, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_DELETE),
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "CreateFileW: %lu\n", ::GetLastError());
        return 1;
    }
    std::fputs("pronto\n", stdout);
    std::fflush(stdout);
    char rest[64];
    DWORD got = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), rest, sizeof rest, &got, nullptr) && got > 0) {
    }
    ::CloseHandle(file);
    return 0;
}
