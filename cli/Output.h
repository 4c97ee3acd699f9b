// Buffered standard output and the usage text.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace ek::cli {

class Output {
  public:
    ~Output() { Flush(); }
    void Write(std::string_view text) {
        m_buffer.append(text);
        if (m_buffer.size() >= kFlushSize) {
            Flush();
        }
    }
    // Rows may also be appended to the buffer itself; Written then writes it out once
    // it is large.
    std::string& Buffer() { return m_buffer; }
    void Written() {
        if (m_buffer.size() >= kFlushSize) {
            Flush();
        }
    }
    // False when standard output could not be written (a closed pipe, a full disk).
    bool Flush();

  private:
    static constexpr std::size_t kFlushSize = 1 << 20;
    std::string m_buffer;
    bool m_failed = false;
};

// Prints the message and the usage text on standard error; returns the usage exit code.
int UsageError(const std::string& message);
void PrintUsage(std::FILE* stream);

}  // namespace ek::cli
