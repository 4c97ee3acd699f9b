// A private, copy-on-write view of a file opened for reading: the page cache's pages
// are used in place, and only a page that is written gets a copy of its own. The
// file itself is never written. Where mapping is not possible (Windows, a file
// system without it) Map fails and the caller reads the file instead.
#pragma once

#include <cstddef>

namespace ek {

class FileMapping {
  public:
    FileMapping() = default;
    ~FileMapping();
    FileMapping(FileMapping&& other) noexcept;
    FileMapping& operator=(FileMapping&& other) noexcept;
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    // Maps the first `size` bytes of the open descriptor `fd`, followed by at least
    // `slack` writable bytes of zeros. False when nothing was mapped.
    bool Map(int fd, std::size_t size, std::size_t slack);
    void Unmap();

    char* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    // Writable memory of zeros after the file's last page, backed by no file: the
    // offsets [SpareBegin(), Extent()) from data(). Writing there copies no page.
    std::size_t SpareBegin() const { return m_fileExtent; }
    std::size_t Extent() const { return m_reserved; }
    // True once a page of the file vanished while mapped (the file was cut short by
    // someone else): reading it would have ended the process, so it was replaced by
    // zeros instead.
    bool LostPages() const;

  private:
    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_reserved = 0;
    std::size_t m_fileExtent = 0;
    int m_slot = -1;
};

}  // namespace ek
