// NormalizeDate on arbitrary header values, against a plain transcription of the
// date-key steps.
#include <cstring>

#include "core/document/EKViewDoc.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool IsWhite(char c) {
    return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr;
}

std::string LeftTrimmed(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && IsWhite(text[at])) {
        ++at;
    }
    return text.substr(at);
}

std::string Before(const std::string& text) {
    std::size_t space = text.find(' ');
    return space == std::string::npos ? std::string() : text.substr(0, space);
}

std::string After(const std::string& text) {
    std::size_t space = text.find(' ');
    return space == std::string::npos ? text : text.substr(space + 1);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ReferenceKey(const std::string& value, std::string& key) {
    key = "1970/01/01 09:00:00";
    std::string w = value;
    if (w.size() >= 4 && w[3] == ',') {
        w = w.size() > 5 ? w.substr(5) : std::string();
    }
    w = LeftTrimmed(w);
    std::string day = Before(w);
    while (!day.empty() && IsWhite(day.back())) {
        day.pop_back();
    }
    if (day.size() == 1) {
        day = "0" + day;
    }
    w = LeftTrimmed(After(w));
    const std::string month = Before(w);
    w = LeftTrimmed(After(w));
    std::string year = Before(w);
    if (year.size() == 2) {
        year = "19" + year;
    }
    w = LeftTrimmed(After(w));
    const std::string time = w.substr(0, 8);
    static const char* const kNames[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    if (month.size() < 3) {
        return false;
    }
    for (int m = 0; m < 12; ++m) {
        if (Lower(month[0]) == kNames[m][0] && Lower(month[1]) == kNames[m][1] &&
            Lower(month[2]) == kNames[m][2]) {
            char number[3];
            std::snprintf(number, sizeof number, "%.2d", m + 1);
            key = year + "/" + number + "/" + day + " " + time;
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string value(ek::fuzz::AsText(data, size));
    std::string key = "left over from before";
    const bool found = ek::CEKViewDoc::NormalizeDate(value, key);
    std::string expected;
    const bool expectedFound = ReferenceKey(value, expected);
    EK_FUZZ_CHECK(found == expectedFound);
    EK_FUZZ_CHECK(key == expected);
    if (!found) {
        EK_FUZZ_CHECK(key == ek::CEKViewDoc::kFallbackDateKey);
    } else {
        // Day, month, year and time are separate pieces of the value; the key adds at
        // most "19", "0", the two month digits and four separators.
        EK_FUZZ_CHECK(key.size() <= value.size() + 6);
    }
    return 0;
}
