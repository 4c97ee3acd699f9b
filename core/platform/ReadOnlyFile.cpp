#include "core/platform/ReadOnlyFile.h"

#include "core/platform/FileMapping.h"

#include <system_error>
#include <utility>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "core/platform/NativePath.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace ek {

namespace {

#ifdef _WIN32

// The system's text for an error, in UTF-8 (the narrow form would be in the ANSI
// code page), without the line end and full stop that Windows puts after it.
std::string SystemReason(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return "system error " + std::to_string(code);
    }
    std::wstring message(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L'.' || message.back() == L' ')) {
        message.pop_back();
    }
    return PathBytes(std::filesystem::path(message));
}

#else

std::string SystemReason(int code) {
    return std::system_category().message(code);
}

#endif

}  // namespace

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept {
    *this = std::move(other);
}

#ifdef _WIN32

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

bool ReadOnlyFile::Open(const std::string& path, FileSharing sharing, std::string& reason) {
    Close();
    const std::filesystem::path native = NativePath(path);
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        reason = "Is a directory";
        return false;
    }
    // No sharing at all keeps every other program out while the mailbox is read;
    // the open check lets other readers be.
    const DWORD share = sharing == FileSharing::Exclusive ? 0 : FILE_SHARE_READ;
    HANDLE handle = CreateFileW(native.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        reason = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION
                     ? std::string(kInUseReason)
                     : SystemReason(error);
        return false;
    }
    // Devices (NUL, CON, COM1) and pipes are no mailbox.
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size)) {
        CloseHandle(handle);
        reason = "not a regular file";
        return false;
    }
    m_handle = handle;
    m_size = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool ReadOnlyFile::IsOpen() const {
    return m_handle != nullptr;
}

void ReadOnlyFile::Close() {
    if (m_handle != nullptr) {
        CloseHandle(static_cast<HANDLE>(m_handle));
        m_handle = nullptr;
    }
    m_size = 0;
}

long long ReadOnlyFile::Read(char* buffer, std::size_t count, std::string& reason) {
    DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(m_handle), buffer, chunk, &got, nullptr)) {
        reason = SystemReason(GetLastError());
        return -1;
    }
    return got;
}

bool ReadOnlyFile::Map(FileMapping& /*mapping*/, std::size_t /*slack*/) const {
    return false;
}

bool ReadOnlyFile::ShrankBelow(std::uint64_t /*size*/) const {
    // Without sharing nobody can cut the file while it is open.
    return false;
}

#else

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

bool ReadOnlyFile::Open(const std::string& path, FileSharing /*sharing*/, std::string& reason) {
    Close();
    // Non-blocking, so that opening a FIFO without a writer cannot hang; O_NOATIME
    // keeps the access time, where the owner of the file allows it.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    int fd = -1;
#ifdef O_NOATIME
    fd = ::open(path.c_str(), flags | O_NOATIME);
    if (fd < 0 && errno == EPERM) {
        fd = ::open(path.c_str(), flags);
    }
#else
    fd = ::open(path.c_str(), flags);
#endif
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        reason = SystemReason(errno);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = S_ISDIR(info.st_mode) ? SystemReason(EISDIR) : "not a regular file";
        ::close(fd);
        return false;
    }
    // Both sharing modes refuse writers; on POSIX that is an advisory read lock,
    // which fails while another program holds a write lock, as mail programs do
    // while they write.
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
    int locked = ::fcntl(fd, F_OFD_SETLK, &lock);
    if (locked != 0 && errno == EINVAL) {
        locked = ::fcntl(fd, F_SETLK, &lock);
    }
#else
    int locked = ::fcntl(fd, F_SETLK, &lock);
#endif
    if (locked != 0 && (errno == EACCES || errno == EAGAIN)) {
        reason = kInUseReason;
        ::close(fd);
        return false;
    }
    // Other lock failures (a file system without locks) do not stop a reader.
    int blocking = ::fcntl(fd, F_GETFL);
    if (blocking != -1) {
        ::fcntl(fd, F_SETFL, blocking & ~O_NONBLOCK);
    }
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool ReadOnlyFile::IsOpen() const {
    return m_fd >= 0;
}

void ReadOnlyFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_size = 0;
}

long long ReadOnlyFile::Read(char* buffer, std::size_t count, std::string& reason) {
    for (;;) {
        ssize_t got = ::read(m_fd, buffer, count);
        if (got >= 0) {
            return got;
        }
        if (errno != EINTR) {
            reason = SystemReason(errno);
            return -1;
        }
    }
}

bool ReadOnlyFile::Map(FileMapping& mapping, std::size_t slack) const {
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || info.st_size <= 0 ||
        static_cast<std::uint64_t>(info.st_size) > SIZE_MAX) {
        return false;
    }
    return mapping.Map(m_fd, static_cast<std::size_t>(info.st_size), slack);
}

bool ReadOnlyFile::ShrankBelow(std::uint64_t size) const {
    struct stat info {};
    return m_fd >= 0 && ::fstat(m_fd, &info) == 0 &&
           static_cast<std::uint64_t>(info.st_size) < size;
}

#endif

}  // namespace ek
