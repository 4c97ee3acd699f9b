// The per-user profile: string and integer values by section and key. The window
// layer stores it with wxConfig; tests use MemoryProfileStore.
//
// What every store promises (tests/support/ProfileStoreContract.h holds the checks):
// - Reading an absent value yields the caller's default. A value written as the
//   empty string is present: it reads as "", not as the default.
// - A section and key name one value; the last write wins, whatever its type.
// - A value written as an integer reads as a string in its decimal text ("-42").
//   A value written as a string reads as an integer only when it is a decimal
//   integer in int range (an optional sign and digits, nothing else); any other
//   string ("", "abc", "12px", "0x10", "99999999999") yields the default.
// - Strings are UTF-8 and come back byte for byte, with leading and trailing
//   spaces, colons, quotes, backslashes, '#', ';', '=' and long values.
// - Sections are independent. A section name is a path whose levels "\" and "/"
//   both separate: "ControlBars\State" and "ControlBars/State" are one section,
//   apart from a value "State" of section "ControlBars". Keys hold neither.
// - Whether names that differ only in letter case are the same is not promised
//   (the registry and wxFileConfig fold ASCII case, MemoryProfileStore does not);
//   the program spells every name one way.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ek {

class ProfileStore {
  public:
    virtual ~ProfileStore() = default;
    virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const = 0;
    // Writes return false when the store could not keep the value.
    virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    virtual int GetProfileInt(const std::string& section, const std::string& key,
                              int defaultValue) const = 0;
    virtual bool WriteProfileInt(const std::string& section, const std::string& key, int value) = 0;
    // Keeps what was written where the store lives (a file is replaced whole). True
    // when it is kept or there was nothing to keep; a store in memory keeps nothing.
    virtual bool Flush() { return true; }
};

// The integer a stored string holds, by the rule every store reads integers with: an
// optional sign, once, then decimal digits filling the string, in int range.
std::optional<int> ParseProfileInt(std::string_view text);

}  // namespace ek
