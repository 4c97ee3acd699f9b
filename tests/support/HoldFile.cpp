// ekview_hold_file MODE PATH (Windows): opens PATH as another program would, for
// "write" (others may read and write) or "read" (others may read), writes 'y' or
// 'n' to standard output, and keeps the file open until standard input closes.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (argc != 3) {
        WriteFile(out, "n", 1, &written, nullptr);
        return 2;
    }
    const bool write = lstrcmpW(argv[1], L"write") == 0;
    HANDLE file = CreateFileW(argv[2], write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                              write ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    WriteFile(out, file != INVALID_HANDLE_VALUE ? "y" : "n", 1, &written, nullptr);
    char ignored = 0;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &ignored, 1, &got, nullptr) && got > 0) {
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return 0;
}
