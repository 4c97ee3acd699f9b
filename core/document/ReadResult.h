// The outcome of reading or opening a mailbox file.
#pragma once

#include <string>

namespace ek {

// What the viewer and the command-line tool say of a file that holds no message.
inline constexpr const char* kNotMailFile = "EK-Mailメールファイルではありません";

enum class ReadStatus {
    Ok,
    NoPath,      // no file is open
    OpenFailed,  // missing, locked by a writer, no access, not a regular file
    NoMessages,  // the file holds no message-start pair
    Cancelled,
    ReadError,  // the read stopped early; completed messages are kept in file order
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    // For OpenFailed and ReadError: the system's reason, in UTF-8.
    std::string reason;

    bool ok() const { return status == ReadStatus::Ok; }
    explicit operator bool() const { return ok(); }
};

}  // namespace ek
