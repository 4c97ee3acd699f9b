#include "core/platform/ConsoleIo.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdlib>
#include <memory>

#include "core/platform/NativePath.h"
#else
#include <unistd.h>
#endif

namespace ek {

#ifdef _WIN32

namespace {

UINT g_savedOutputCodePage = 0;

void RestoreConsoleCodePage() {
    if (g_savedOutputCodePage != 0) {
        SetConsoleOutputCP(g_savedOutputCodePage);
    }
}

HANDLE ConsoleOf(std::FILE* stream) {
    const intptr_t handle = _get_osfhandle(_fileno(stream));
    return handle == -1 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(handle);
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    std::vector<std::string> args;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        args.push_back(PathBytes(std::filesystem::path(wide.get()[i])));
    }
    return args;
}

void PrepareStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    bool console = false;
    for (std::FILE* stream : {stdout, stderr}) {
        DWORD mode = 0;
        HANDLE handle = ConsoleOf(stream);
        if (GetConsoleMode(handle, &mode)) {
            console = true;
            SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        }
    }
    // The console's code page outlives the program, so it is put back at exit.
    if (console && GetConsoleOutputCP() != CP_UTF8) {
        g_savedOutputCodePage = GetConsoleOutputCP();
        SetConsoleOutputCP(CP_UTF8);
        std::atexit(RestoreConsoleCodePage);
    }
}

bool IsTerminal(std::FILE* stream) {
    // _isatty is also true for NUL and serial ports; only a console is a terminal.
    DWORD mode = 0;
    return GetConsoleMode(ConsoleOf(stream), &mode) != 0;
}

#else

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
}

void PrepareStandardStreams() {}

bool IsTerminal(std::FILE* stream) {
    return ::isatty(fileno(stream)) == 1;
}

#endif

}  // namespace ek
