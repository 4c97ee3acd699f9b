#include "core/frame/SettingsFormats.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/platform/Cp932.h"
#include "core/platform/PathNames.h"
#include "core/platform/Utf8.h"

namespace ek::settings {

namespace {

// One number scanned the way scanf's %d (decimal) or %i (any base) scans it.
struct Scanned {
    bool matched = false;
    bool inRange = false;
    int value = 0;
};

constexpr bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

// Skips leading white space, then reads an optional sign and digits from `pos`,
// leaving `pos` after them. With `anyBase`, "0x" followed by a hexadecimal digit
// starts a hexadecimal number and a leading 0 an octal one. Magnitudes saturate,
// so no input can overflow.
Scanned ScanInt(std::string_view text, std::size_t& pos, bool anyBase) {
    std::size_t at = pos;
    while (at < text.size() && IsSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    int base = 10;
    if (anyBase && at < text.size() && text[at] == '0') {
        base = 8;
        if (at + 2 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
            DigitValue(text[at + 2]) < 16) {
            base = 16;
            at += 2;
        }
    }
    constexpr std::int64_t kCap = std::int64_t{INT_MAX} + 2;
    std::int64_t magnitude = 0;
    std::size_t digitsStart = at;
    while (at < text.size() && DigitValue(text[at]) < base) {
        magnitude = std::min(kCap, magnitude * base + DigitValue(text[at]));
        ++at;
    }
    Scanned result;
    if (at == digitsStart) {
        return result;
    }
    pos = at;
    result.matched = true;
    std::int64_t value = negative ? -magnitude : magnitude;
    result.inRange = value >= INT_MIN && value <= INT_MAX;
    result.value = result.inRange ? static_cast<int>(value) : 0;
    return result;
}

bool ConsumeColon(std::string_view text, std::size_t& pos) {
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        return true;
    }
    return false;
}

// Bytes the UTF-8 character at `pos` takes in CP932, and its UTF-8 length; a byte
// that starts no character counts as a character of two.
std::size_t Cp932Width(std::string_view utf8, std::size_t pos, std::size_t* length) {
    char32_t cp = 0;
    const std::size_t decoded = ek::utf8::Decode(utf8, pos, cp);
    *length = decoded == 0 ? 1 : decoded;
    if (decoded == 0) {
        return 2;
    }
    // U+FF61..U+FF9F, half-width katakana, take one byte.
    return cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F) ? 1 : 2;
}

}  // namespace

int Read(const ProfileStore& store, const IntSetting& setting) {
    return store.GetProfileInt(setting.key.section, setting.key.name, setting.defaultValue);
}

bool Write(ProfileStore& store, const IntSetting& setting, int value) {
    return store.WriteProfileInt(setting.key.section, setting.key.name, value);
}

std::string Read(const ProfileStore& store, const StringSetting& setting) {
    return store.GetProfileString(setting.key.section, setting.key.name, setting.defaultValue);
}

bool Write(ProfileStore& store, const StringSetting& setting, const std::string& value) {
    return store.WriteProfileString(setting.key.section, setting.key.name, value);
}

ColorRef ReadColor(const ProfileStore& store, const ProfileKey& key, ColorRef systemGrayText) {
    return static_cast<ColorRef>(
        store.GetProfileInt(key.section, key.name, static_cast<int>(systemGrayText)));
}

bool WriteColor(ProfileStore& store, const ProfileKey& key, ColorRef color) {
    return store.WriteProfileInt(key.section, key.name, static_cast<int>(color));
}

FontSpec ParseFont(std::string_view value, const FontSetting& setting) {
    FontSpec font{setting.defaultSize, kDefaultFaceName};
    if (value.empty()) {
        return font;
    }
    std::size_t pos = 0;
    Scanned size = ScanInt(value, pos, false);
    if (size.matched && size.inRange && size.value >= setting.minSize &&
        size.value <= setting.maxSize) {
        font.size = size.value;
    }
    std::size_t colon = value.find(':');
    std::string_view face = colon == std::string_view::npos ? value : value.substr(colon + 1);
    if (!face.empty()) {
        font.face = setting.maxFaceBytes == 0 ? std::string(face)
                                              : CutUtf8FaceName(face, setting.maxFaceBytes);
    }
    return font;
}

std::string FormatFont(const FontSpec& font) {
    return std::to_string(font.size) + ":" + font.face;
}

FontSpec LoadFont(const ProfileStore& store, const FontSetting& setting) {
    return ParseFont(store.GetProfileString(setting.key.section, setting.key.name, ""), setting);
}

bool SaveFont(ProfileStore& store, const FontSetting& setting, const FontSpec& font) {
    return store.WriteProfileString(setting.key.section, setting.key.name, FormatFont(font));
}

std::string CutFaceName(std::string_view cp932Face, std::size_t maxBytes) {
    std::string_view cut = cp932::CutAtCharBoundary(cp932Face, maxBytes);
    if (!cut.empty() && cp932::IsLeadByte(static_cast<unsigned char>(cut.back())) &&
        cp932::IsCharBoundary(cut, cut.size() - 1)) {
        cut.remove_suffix(1);
    }
    return std::string(cut);
}

std::string CutUtf8FaceName(std::string_view utf8Face, std::size_t maxBytes) {
    std::size_t pos = 0;
    std::size_t cp932Bytes = 0;
    while (pos < utf8Face.size()) {
        std::size_t length = 0;
        cp932Bytes += Cp932Width(utf8Face, pos, &length);
        if (cp932Bytes > maxBytes) {
            break;
        }
        pos += length;
    }
    return std::string(utf8Face.substr(0, pos));
}

ColumnWidths ParseColumnWidths(std::string_view value, const ColumnWidths& defaults) {
    ColumnWidths widths = defaults;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (i > 0 && !ConsumeColon(value, pos)) {
            break;
        }
        Scanned width = ScanInt(value, pos, false);
        if (!width.matched) {
            break;
        }
        if (width.inRange && width.value >= kMinColumnWidth && width.value <= kMaxColumnWidth) {
            widths[i] = width.value;
        }
    }
    return widths;
}

std::string FormatColumnWidths(const ColumnWidths& widths) {
    return std::to_string(widths[0]) + ":" + std::to_string(widths[1]) + ":" +
           std::to_string(widths[2]);
}

ColumnWidths LoadColumnWidths(const ProfileStore& store, const ColumnSetting& setting) {
    return ParseColumnWidths(store.GetProfileString(setting.key.section, setting.key.name, ""),
                             setting.defaults);
}

bool SaveColumnWidths(ProfileStore& store, const ColumnSetting& setting,
                      const ColumnWidths& widths) {
    return store.WriteProfileString(setting.key.section, setting.key.name,
                                    FormatColumnWidths(widths));
}

std::optional<WindowPlacement> ParseWindowPos(std::string_view value) {
    WindowPlacement placement;
    int* const fields[] = {&placement.flags, &placement.showCmd, &placement.minX, &placement.minY,
                           &placement.maxX,  &placement.maxY,    &placement.left, &placement.top,
                           &placement.right, &placement.bottom};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (i > 0 && !ConsumeColon(value, pos)) {
            return std::nullopt;
        }
        Scanned number = ScanInt(value, pos, true);
        if (!number.matched || !number.inRange) {
            return std::nullopt;
        }
        *fields[i] = number.value;
    }
    return placement;
}

std::string FormatWindowPos(const WindowPlacement& placement) {
    const int fields[] = {placement.flags, placement.showCmd, placement.minX, placement.minY,
                          placement.maxX,  placement.maxY,    placement.left, placement.top,
                          placement.right, placement.bottom};
    std::string text;
    for (int field : fields) {
        if (!text.empty()) {
            text += ':';
        }
        text += std::to_string(field);
    }
    return text;
}

std::optional<WindowPlacement> LoadWindowPos(const ProfileStore& store) {
    return ParseWindowPos(store.GetProfileString(kWindowPos.section, kWindowPos.name, ""));
}

bool SaveWindowPos(ProfileStore& store, const WindowPlacement& placement) {
    return store.WriteProfileString(kWindowPos.section, kWindowPos.name,
                                    FormatWindowPos(placement));
}

std::string RecentFileKey(int number) {
    return "File" + std::to_string(number);
}

std::vector<std::string> LoadRecentFiles(const ProfileStore& store) {
    std::vector<std::string> paths;
    for (int number = 1; number <= kRecentFileCount; ++number) {
        std::string path = pathname::FromProfile(
            store.GetProfileString(kRecentFileSection, RecentFileKey(number), ""));
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

bool SaveRecentFiles(ProfileStore& store, const std::vector<std::string>& paths) {
    bool saved = true;
    for (int number = 1; number <= kRecentFileCount; ++number) {
        auto index = static_cast<std::size_t>(number - 1);
        const std::string path = index < paths.size() ? pathname::ToProfile(paths[index]) : "";
        saved = store.WriteProfileString(kRecentFileSection, RecentFileKey(number), path) && saved;
    }
    return saved;
}

}  // namespace ek::settings
