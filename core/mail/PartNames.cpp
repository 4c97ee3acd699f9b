#include "core/mail/PartNames.h"

#include <array>

namespace ek::mail {

namespace {

constexpr std::array<std::string_view, 4> kReservedNames = {"con", "prn", "aux", "nul"};
constexpr std::string_view kForbidden = "<>:\"/\\|?*";
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kExtensions = {{
    {"text/plain", "txt"},
    {"text/html", "html"},
    {"image/jpeg", "jpg"},
    {"image/png", "png"},
    {"image/gif", "gif"},
    {"application/pdf", "pdf"},
    {"application/zip", "zip"},
    {"application/octet-stream", "bin"},
    {"message/rfc822", "eml"},
    {"message/delivery-status", "txt"},
    {"text/calendar", "ics"},
    {"application/msword", "doc"},
}};

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return lower;
}

bool IsReserved(std::string_view name) {
    const std::string stem = Lower(name.substr(0, name.find('.')));
    for (std::string_view reserved : kReservedNames) {
        if (stem == reserved) {
            return true;
        }
    }
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) &&
           stem[3] >= '0' && stem[3] <= '9';
}

void TrimDotsAndBlanks(std::string& name) {
    auto trimmed = [](char c) { return c == '.' || c == ' ' || c == '\t'; };
    std::size_t first = 0;
    while (first < name.size() && trimmed(name[first])) {
        ++first;
    }
    std::size_t last = name.size();
    while (last > first && trimmed(name[last - 1])) {
        --last;
    }
    name = name.substr(first, last - first);
}

// The longest prefix of at most `bytes` bytes that ends on a UTF-8 character boundary.
std::string_view CutUtf8(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) {
        return text;
    }
    while (bytes > 0 && IsContinuation(text[bytes])) {
        --bytes;
    }
    return text.substr(0, bytes);
}

}  // namespace

std::string MadeUpName(int messageIndex, int part, std::string_view type) {
    std::string extension;
    for (const auto& [mime, ext] : kExtensions) {
        if (type == mime) {
            extension = ext;
        }
    }
    if (extension.empty()) {
        const std::size_t slash = type.find('/');
        for (char c : type.substr(slash == std::string_view::npos ? 0 : slash + 1)) {
            if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
                extension += c;
            }
        }
        extension = extension.empty() ? "bin" : extension.substr(0, 10);
    }
    return "message" + std::to_string(messageIndex) + "-part" + std::to_string(part) + "." +
           extension;
}

std::string SafeFileName(std::string_view name, std::string_view fallback) {
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    std::string safe;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        safe += (b < 0x20 || b == 0x7F || kForbidden.find(c) != std::string_view::npos) ? '_' : c;
    }
    TrimDotsAndBlanks(safe);
    if (safe.empty()) {
        safe = std::string(fallback);
    }
    if (IsReserved(safe)) {
        safe = "_" + safe;
    }
    if (safe.size() > kMaxFileNameBytes) {
        const std::size_t dot = safe.rfind('.');
        const std::string extension =
            dot != std::string::npos && safe.size() - dot <= 16 ? safe.substr(dot) : "";
        safe = std::string(CutUtf8(safe, kMaxFileNameBytes - extension.size())) + extension;
    }
    return safe;
}

std::string NumberedName(std::string_view name, int n) {
    const std::size_t dot = name.rfind('.');
    const std::size_t stem = dot == std::string_view::npos || dot == 0 ? name.size() : dot;
    return std::string(name.substr(0, stem)) + " (" + std::to_string(n) + ")" +
           std::string(name.substr(stem));
}

}  // namespace ek::mail
