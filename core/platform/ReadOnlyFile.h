// A file opened for reading only. It never writes, never changes the file's times,
// and refuses to open while another program is writing the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ek {

class FileMapping;

enum class FileSharing {
    // Nobody may write while we read (POSIX: a read lock that fails while a writer
    // holds a write lock; Windows: no sharing at all).
    Exclusive,
    // Other readers are welcome, writers are refused (Windows: share read).
    ReadersOnly,
};

class ReadOnlyFile {
  public:
    // The reason given when another program keeps the file from us: on POSIX a
    // writer's lock, on Windows any open that the sharing mode refuses.
#ifdef _WIN32
    static constexpr const char* kInUseReason = "another program has the file open";
#else
    static constexpr const char* kInUseReason = "another program is writing to the file";
#endif

    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens a regular file. On failure returns false and `reason` holds the system's
    // explanation in UTF-8.
    bool Open(const std::string& path, FileSharing sharing, std::string& reason);
    bool IsOpen() const;
    void Close();

    // The file's size when it was opened.
    std::uint64_t Size() const {
        return m_size;
    }

    // Reads up to `count` bytes. Returns the number read, 0 at the end of the file,
    // or -1 with `reason` set on a read error.
    long long Read(char* buffer, std::size_t count, std::string& reason);

    // Maps the file as it is now, with `slack` zero bytes after it, copy on write;
    // its size may differ from Size(). False where the file must be read instead.
    bool Map(FileMapping& mapping, std::size_t slack) const;
    // True when the file now holds fewer bytes than `size`.
    bool ShrankBelow(std::uint64_t size) const;

  private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    std::uint64_t m_size = 0;
};

}  // namespace ek
