#include "core/platform/NativePath.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "core/platform/Cp932Decode.h"
#endif

namespace ek {

#ifdef _WIN32

std::filesystem::path NativePath(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    // MB_ERR_INVALID_CHARS makes the call fail on bytes that are no UTF-8, which is
    // how a CP932 name shows itself.
    const int wide =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (wide <= 0) {
        return std::filesystem::path(cp932::ToWide(bytes));
    }
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), wide);
    return std::filesystem::path(std::move(text));
}

std::string PathBytes(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

#else

std::filesystem::path NativePath(std::string_view bytes) {
    return std::filesystem::path(std::string(bytes));
}

std::string PathBytes(const std::filesystem::path& path) {
    return path.native();
}

#endif

}  // namespace ek
