#include "core/platform/PathNames.h"

#include "core/platform/Cp932Decode.h"
#include "core/platform/Utf8.h"

namespace ek::pathname {

namespace {

constexpr std::string_view kFileScheme = "file://";

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// "%XX" becomes its byte; a '%' without two hex digits stays as it is.
std::string PercentDecode(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

// The path of a file URI on this machine: "file:///p" or "file://localhost/p".
bool LocalFilePath(std::string_view uri, std::string& path) {
    if (uri.substr(0, kFileScheme.size()) != kFileScheme) {
        return false;
    }
    uri.remove_prefix(kFileScheme.size());
    const std::size_t slash = uri.find('/');
    if (slash == std::string_view::npos) {
        return false;
    }
    const std::string_view host = uri.substr(0, slash);
    if (!host.empty() && host != "localhost") {
        return false;
    }
    path = PercentDecode(uri.substr(slash));
    return true;
}

}  // namespace

std::string ForDisplay(std::string_view path) {
    std::string display;
    display.reserve(path.size());
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(start, end - start);
        display += ek::utf8::IsValid(part) ? std::string(part) : cp932::ToUtf8(part);
        if (end < path.size()) {
            display += path[end];
        }
        start = end + 1;
    }
    return display;
}

std::string ToProfile(std::string_view path) {
    if (ek::utf8::IsValid(path) && path.substr(0, 5) != "file:") {
        return std::string(path);
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    // An absolute path becomes a file URI; anything else the opaque "file:" form.
    std::string uri(!path.empty() && path.front() == '/' ? kFileScheme : "file:");
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0x0F];
        }
    }
    return uri;
}

std::string FromProfile(std::string_view value) {
    std::string path;
    if (LocalFilePath(value, path)) {
        return path;
    }
    if (value.substr(0, 5) == "file:" && value.substr(0, kFileScheme.size()) != kFileScheme) {
        return PercentDecode(value.substr(5));
    }
    return std::string(value);
}

std::vector<std::string> FilesOfUriList(std::string_view uriList) {
    std::vector<std::string> files;
    std::size_t start = 0;
    while (start < uriList.size()) {
        std::size_t end = uriList.find('\n', start);
        if (end == std::string_view::npos) {
            end = uriList.size();
        }
        std::string_view line = uriList.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\0')) {
            line.remove_suffix(1);
        }
        std::string path;
        if (!line.empty() && line.front() != '#' && LocalFilePath(line, path)) {
            files.push_back(std::move(path));
        }
    }
    return files;
}

}  // namespace ek::pathname
