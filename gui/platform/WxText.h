// UTF-8 strings to and from wxString. utf8_str() of a temporary wxString may point
// into that temporary, so every conversion goes through these two.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

#include "core/platform/Cp932Decode.h"

namespace ek {

inline wxString FromUtf8(std::string_view utf8) {
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

// CP932 bytes as the text they stand for.
inline wxString FromCp932(std::string_view cp932) {
    return wxString(cp932::ToWide(cp932));
}

inline std::string ToUtf8(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

// A path that the toolkit produced (a file dialog's choice) as the bytes that name
// the file. wxGTK keeps a name that is not UTF-8 (a Shift-JIS one) in its file-name
// conversion, which gives the bytes back; UTF-8 would lose them.
inline std::string FileNameBytes(const wxString& path) {
#ifdef _WIN32
    return ToUtf8(path);
#else
    const wxCharBuffer bytes = wxConvFileName->cWX2MB(path);
    return bytes.data() != nullptr ? std::string(bytes.data(), bytes.length()) : ToUtf8(path);
#endif
}

}  // namespace ek
