// GetSenderName on arbitrary From values, against a plain transcription of the
// display-name steps.
#include <cstring>

#include "core/document/EKViewDoc.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool IsWhite(char c) {
    return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr;
}

std::string Trimmed(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsWhite(text[first])) {
        ++first;
    }
    while (last > first && IsWhite(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

std::string Unquoted(std::string text) {
    while (!text.empty() && text.front() == '"') {
        text.erase(0, 1);
    }
    while (!text.empty() && text.back() == '"') {
        text.pop_back();
    }
    return text;
}

std::string ReferenceName(const std::string& from) {
    const long long open = static_cast<long long>(from.find('<'));
    if (from.find('<') != std::string::npos) {
        const std::size_t closeAt = from.find('>');
        const long long close = closeAt == std::string::npos ? -1 : static_cast<long long>(closeAt);
        std::string w = from;
        if (close - open + 1 > 0) {
            w.erase(static_cast<std::size_t>(open), static_cast<std::size_t>(close - open + 1));
        }
        w = Trimmed(w);
        return w.empty() ? from : Unquoted(w);
    }
    if (from.find('(') != std::string::npos) {
        const long long a = static_cast<long long>(from.find('('));
        const std::size_t closeAt = from.find(')');
        const long long b = closeAt == std::string::npos ? -1 : static_cast<long long>(closeAt);
        std::string w = b - a - 1 > 0 ? from.substr(static_cast<std::size_t>(a + 1),
                                                    static_cast<std::size_t>(b - a - 1))
                                      : std::string();
        w = Trimmed(w);
        return w.empty() ? from : Unquoted(w);
    }
    return from;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string from(ek::fuzz::AsText(data, size));
    const std::string name = ek::CEKViewDoc::GetSenderName(from);
    EK_FUZZ_CHECK(name == ReferenceName(from));
    EK_FUZZ_CHECK(name.size() <= from.size());
    if (from.find_first_of("<(") == std::string::npos) {
        EK_FUZZ_CHECK(name == from);
    }
    return 0;
}
