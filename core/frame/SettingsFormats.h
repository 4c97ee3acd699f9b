// Every profile value the program and its framework facilities keep: section, key,
// default and text format, each declared here once. Owners read and write the values
// themselves at the moments their windows are created and destroyed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/ProfileStore.h"

namespace ek::settings {

struct ProfileKey {
    const char* section;
    const char* name;
};

inline constexpr char kSettingsSection[] = "Settings";

// The default face of every pane, in UTF-8 as the profile holds it.
inline constexpr char kDefaultFaceName[] = "ＭＳ 明朝";
static_assert(sizeof(kDefaultFaceName) == 14, "this source must be compiled as UTF-8");

// ---- Plain values ----

struct IntSetting {
    ProfileKey key;
    int defaultValue;
};

struct StringSetting {
    ProfileKey key;
    const char* defaultValue;
};

// 1: the text pane shows all header lines; 0: the short header.
inline constexpr IntSetting kHeader{{kSettingsSection, "Header"}, 1};
// 1: the text pane and the lists show messages decoded (MIME); 0: as stored.
inline constexpr IntSetting kDecode{{kSettingsSection, "Decode"}, 0};
// The quote marks, separated by spaces.
inline constexpr StringSetting kQuote{{kSettingsSection, "Quote"}, ""};
// Kept for the framework's print preview, which this program never changes.
inline constexpr IntSetting kPreviewPages{{kSettingsSection, "PreviewPages"}, 0};

int Read(const ProfileStore& store, const IntSetting& setting);
bool Write(ProfileStore& store, const IntSetting& setting, int value);
std::string Read(const ProfileStore& store, const StringSetting& setting);
bool Write(ProfileStore& store, const StringSetting& setting, const std::string& value);

// ---- Colours ----

// Red in bits 0-7, green in 8-15, blue in 16-23; stored in the profile unchanged.
using ColorRef = std::uint32_t;

inline constexpr ProfileKey kQuoteClr{kSettingsSection, "QuoteClr"};
inline constexpr ProfileKey kMailClr{kSettingsSection, "MailClr"};
inline constexpr ProfileKey kHttpClr{kSettingsSection, "HttpClr"};

constexpr ColorRef MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColorRef{red} | (ColorRef{green} << 8) | (ColorRef{blue} << 16);
}
constexpr std::uint8_t RedOf(ColorRef color) {
    return static_cast<std::uint8_t>(color);
}
constexpr std::uint8_t GreenOf(ColorRef color) {
    return static_cast<std::uint8_t>(color >> 8);
}
constexpr std::uint8_t BlueOf(ColorRef color) {
    return static_cast<std::uint8_t>(color >> 16);
}

// The default of every colour is the system's grey-text colour, which only the
// window layer can ask for.
ColorRef ReadColor(const ProfileStore& store, const ProfileKey& key, ColorRef systemGrayText);
bool WriteColor(ProfileStore& store, const ProfileKey& key, ColorRef color);

// ---- Fonts: "%d:%s", size and face name ----

struct FontSpec {
    int size = 0;
    std::string face;  // UTF-8

    bool operator==(const FontSpec&) const = default;
};

struct FontSetting {
    ProfileKey key;
    int defaultSize;
    // Sizes outside [minSize, maxSize] are taken for damage and keep the default.
    int minSize;
    int maxSize;
    // The longest face, in CP932 bytes, the pane can hold; 0 for no limit.
    std::size_t maxFaceBytes;
};

// The text pane: character height in twips, face in a 32-byte field.
inline constexpr FontSetting kCFont{{kSettingsSection, "CFont"}, 200, 20, 10000, 31};
// The subject and thread lists: size in tenths of a point.
inline constexpr FontSetting kTFont{{kSettingsSection, "TFont"}, 100, 10, 5000, 0};
inline constexpr FontSetting kTHFont{{kSettingsSection, "THFont"}, 100, 10, 5000, 0};

// A leading decimal number (as "%d" reads it) is the size; the face is everything
// after the first ':', or the whole value when it has none. A missing size or an
// empty face keeps the default.
FontSpec ParseFont(std::string_view value, const FontSetting& setting);
std::string FormatFont(const FontSpec& font);
FontSpec LoadFont(const ProfileStore& store, const FontSetting& setting);
bool SaveFont(ProfileStore& store, const FontSetting& setting, const FontSpec& font);

// The face-name field holds 31 bytes and a terminating zero.
inline constexpr std::size_t kMaxFaceBytes = 31;

// The longest prefix of a CP932 face name of at most `maxBytes` bytes that ends on
// a whole character; a lead byte left without its trail byte is dropped too.
std::string CutFaceName(std::string_view cp932Face, std::size_t maxBytes = kMaxFaceBytes);
// The same cut for a UTF-8 face, measured in the bytes it takes in CP932 (one for
// ASCII and half-width katakana, two for every other character).
std::string CutUtf8FaceName(std::string_view utf8Face, std::size_t maxBytes = kMaxFaceBytes);

// ---- Column widths: "%d:%d:%d" ----

using ColumnWidths = std::array<int, 3>;

inline constexpr ColumnWidths kDefaultColumnWidths{300, 150, 120};
// A stored width outside this range would hide a column or make it absurdly wide;
// it keeps that column's default.
inline constexpr int kMinColumnWidth = 10;
inline constexpr int kMaxColumnWidth = 10000;

struct ColumnSetting {
    ProfileKey key;
    ColumnWidths defaults;
};

// Subject list, then thread list: subject, sender and date columns.
inline constexpr ColumnSetting kLVH{{kSettingsSection, "LVH"}, kDefaultColumnWidths};
inline constexpr ColumnSetting kLVH2{{kSettingsSection, "LVH2"}, kDefaultColumnWidths};

// Reads up to three numbers as "%d:%d:%d" does, stopping at the first that does not
// match; each one read and in range replaces its default.
ColumnWidths ParseColumnWidths(std::string_view value,
                               const ColumnWidths& defaults = kDefaultColumnWidths);
std::string FormatColumnWidths(const ColumnWidths& widths);
ColumnWidths LoadColumnWidths(const ProfileStore& store, const ColumnSetting& setting);
bool SaveColumnWidths(ProfileStore& store, const ColumnSetting& setting,
                      const ColumnWidths& widths);

// ---- Window placement: "%i:%i:%i:%i:%i:%i:%i:%i:%i:%i" ----

struct WindowPlacement {
    int flags = 0;
    int showCmd = 0;
    int minX = 0;
    int minY = 0;
    int maxX = 0;
    int maxY = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const WindowPlacement&) const = default;
};

inline constexpr ProfileKey kWindowPos{kSettingsSection, "WindowPos"};
// Added to the flags of a window closed while maximized.
inline constexpr int kRestoreToMaximized = 2;

// Ten numbers as "%i" reads them (decimal, 0x hexadecimal or 0 octal, optional
// sign) separated by ':'; anything after the tenth is ignored. Fewer than ten, or a
// number outside int range, gives nothing.
std::optional<WindowPlacement> ParseWindowPos(std::string_view value);
std::string FormatWindowPos(const WindowPlacement& placement);
std::optional<WindowPlacement> LoadWindowPos(const ProfileStore& store);
bool SaveWindowPos(ProfileStore& store, const WindowPlacement& placement);

// ---- Framework facilities ----

// The bar state lives in sections below this profile name.
inline constexpr char kBarStateProfile[] = "ControlBars\\State";

// Full paths of the most recently opened files, most recent first, under the keys
// "File1" to "File5".
inline constexpr char kRecentFileSection[] = "Recent File List";
inline constexpr int kRecentFileCount = 5;

// "File<number>", for numbers from 1.
std::string RecentFileKey(int number);
// The non-empty entries, in order.
std::vector<std::string> LoadRecentFiles(const ProfileStore& store);
// Writes the first kRecentFileCount paths and empties the slots after them.
bool SaveRecentFiles(ProfileStore& store, const std::vector<std::string>& paths);

}  // namespace ek::settings
