// Opening a mailbox for a command, with the messages a terminal user expects.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/document/EKViewDoc.h"

namespace ek::cli {

// Exit codes of ekview-cli.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Opens and reads `path` into `doc`. On failure prints the reason on standard
// error and returns false; after a read error the messages read so far stay in
// `doc` and `readError` is set.
bool LoadMailbox(CEKViewDoc& doc, const std::string& path, bool& readError);

// Reads the arguments "[--json] [--decode] FILE" of `command`; returns the usage error,
// or an empty string when they are sound.
std::string ParseJsonAndFile(const std::string& command, const std::vector<std::string>& args,
                             bool& json, std::string& path, bool& decode);

// A whole decimal number; out-of-range values saturate, so that they are reported as
// outside the mailbox.
std::optional<long long> ParseIndex(const std::string& text);

}  // namespace ek::cli
