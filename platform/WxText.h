// UTF-8 strings to and from wxString. utf8_str() of a temporary wxString may point
// into that temporary, so every conversion goes through these two.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

namespace ek {

inline wxString FromUtf8(std::string_view utf8) {
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

inline std::string ToUtf8(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

}  // namespace ek
