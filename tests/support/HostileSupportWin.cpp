// The Windows half of HostileSupport.h, kept out of the header so that windows.h's
// macros do not reach the tests.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "tests/support/HostileSupport.h"

namespace ek::test {

LockHolder::LockHolder(const std::string& path, LockKind kind) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readyRead = nullptr;
    HANDLE readyWrite = nullptr;
    HANDLE releaseRead = nullptr;
    HANDLE releaseWrite = nullptr;
    if (!CreatePipe(&readyRead, &readyWrite, &inherit, 0)) {
        return;
    }
    if (!CreatePipe(&releaseRead, &releaseWrite, &inherit, 0)) {
        CloseHandle(readyRead);
        CloseHandle(readyWrite);
        return;
    }
    // Our ends stay with us; the child inherits only its own.
    SetHandleInformation(readyRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(releaseWrite, HANDLE_FLAG_INHERIT, 0);
    m_release = releaseWrite;
    std::wstring command = L"\"" + NativePath(EKVIEW_HOLD_FILE).native() + L"\" " +
                           (kind == LockKind::Read ? L"read" : L"write") + L" \"" +
                           NativePath(path).native() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = releaseRead;
    startup.hStdOutput = readyWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        m_child = process.hProcess;
    }
    CloseHandle(readyWrite);
    CloseHandle(releaseRead);
    char locked = 'n';
    DWORD got = 0;
    m_locked = m_child != nullptr && ReadFile(readyRead, &locked, 1, &got, nullptr) && got == 1 &&
               locked == 'y';
    CloseHandle(readyRead);
}

void LockHolder::Release() {
    if (m_release != nullptr) {
        CloseHandle(m_release);
        m_release = nullptr;
    }
    if (m_child != nullptr) {
        WaitForSingleObject(m_child, INFINITE);
        CloseHandle(m_child);
        m_child = nullptr;
    }
}

}  // namespace ek::test
