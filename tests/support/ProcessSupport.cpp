#include "tests/support/ProcessSupport.h"

#include "core/platform/NativePath.h"
#include "tests/support/TestSupport.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include "tests/support/HostileSupport.h"
#endif

namespace ek::test {

ProcessResult RunCli(const std::vector<std::string>& args, const CliOptions& options) {
    TempDir scratch;
    const std::string configHome = options.configHome.empty() ? scratch.Path() : options.configHome;
    return RunProcess(
        EKVIEW_CLI, args,
        {{{"XDG_CONFIG_HOME", configHome}}, options.deadline, options.asUnprivileged});
}

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& utf8) {
    return NativePath(utf8).native();
}

// One argument quoted so that the C runtime's parser gives it back unchanged:
// backslashes count only before a double quote.
std::wstring QuoteArgument(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// The test's environment with `extra` set, as CreateProcessW takes it.
std::wstring EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& extra) {
    std::wstring block;
    wchar_t* current = GetEnvironmentStringsW();
    for (const wchar_t* entry = current; entry != nullptr && *entry != L'\0';) {
        const std::wstring text(entry);
        entry += text.size() + 1;
        bool replaced = false;
        for (const auto& [name, value] : extra) {
            replaced = replaced || _wcsnicmp(text.c_str(), (Wide(name) + L"=").c_str(),
                                             Wide(name).size() + 1) == 0;
        }
        if (!replaced) {
            block += text + L'\0';
        }
    }
    FreeEnvironmentStringsW(current);
    for (const auto& [name, value] : extra) {
        block += Wide(name) + L"=" + Wide(value) + L'\0';
    }
    return block + L'\0';
}

HANDLE InheritableFile(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
    TempDir scratch;
    const std::string outPath = scratch.File("out");
    const std::string errPath = scratch.File("err");
    std::wstring commandLine = QuoteArgument(Wide(program));
    for (const std::string& arg : args) {
        commandLine += L" " + QuoteArgument(Wide(arg));
    }
    std::wstring environment = EnvironmentBlock(options.environment);
    HANDLE in = InheritableFile("NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = InheritableFile(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = InheritableFile(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW,
                                        environment.data(), nullptr, &startup, &process) != 0;
    for (HANDLE handle : {in, out, err}) {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    ProcessResult result;
    if (!started) {
        result.err = "cannot start " + program;
        return result;
    }
    const DWORD waited =
        WaitForSingleObject(process.hProcess, static_cast<DWORD>(options.deadline.count()));
    result.finished = waited == WAIT_OBJECT_0;
    if (!result.finished) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

#else

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
    TempDir scratch;
    const std::string outPath = scratch.File("out");
    const std::string errPath = scratch.File("err");
    ChildOutcome outcome = RunInChild(
        [&] {
            int in = ::open("/dev/null", O_RDONLY);
            int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
                ::dup2(err, 2) < 0) {
                return 125;
            }
            if (options.asUnprivileged && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                return 124;
            }
            for (const auto& [name, value] : options.environment) {
                ::setenv(name.c_str(), value.c_str(), 1);
            }
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& arg : args) {
                argv.push_back(const_cast<char*>(arg.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            return 126;
        },
        options.deadline);
    return {outcome.finished, outcome.exitCode, outcome.signal, ReadFile(outPath),
            ReadFile(errPath)};
}

#endif

}  // namespace ek::test
