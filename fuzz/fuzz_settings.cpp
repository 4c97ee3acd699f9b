// The settings formats on arbitrary stored values: window placement, fonts, column
// widths and the store's integer reading. Parsed values stay in range and survive
// being written and read back unchanged.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/frame/SettingsFormats.h"
#include "core/platform/Cp932.h"
#include "core/platform/MemoryProfileStore.h"
#include "core/platform/ProfileFile.h"
#include "fuzz/FuzzSupport.h"

namespace {

namespace settings = ek::settings;

// The store's promise: a decimal integer in int range, an optional sign and digits and
// nothing else, reads as that integer; anything else as the default.
int ReferenceInt(const std::string& text, int defaultValue) {
    std::size_t at = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    if (at == text.size()) {
        return defaultValue;
    }
    for (std::size_t i = at; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return defaultValue;
        }
    }
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        return defaultValue;
    }
    return static_cast<int>(value);
}

void CheckFont(const std::string& value, const settings::FontSetting& setting) {
    const settings::FontSpec font = settings::ParseFont(value, setting);
    EK_FUZZ_CHECK(font.size == setting.defaultSize ||
                  (font.size >= setting.minSize && font.size <= setting.maxSize));
    EK_FUZZ_CHECK(!font.face.empty());
    if (setting.maxFaceBytes != 0) {
        EK_FUZZ_CHECK(font.face == settings::CutUtf8FaceName(font.face, setting.maxFaceBytes));
    }
    EK_FUZZ_CHECK(settings::ParseFont(settings::FormatFont(font), setting) == font);

    ek::MemoryProfileStore store;
    store.WriteProfileString(setting.key.section, setting.key.name, value);
    EK_FUZZ_CHECK(settings::LoadFont(store, setting) == font);
}

void CheckColumns(const std::string& value) {
    const settings::ColumnWidths widths = settings::ParseColumnWidths(value);
    for (std::size_t i = 0; i < widths.size(); ++i) {
        EK_FUZZ_CHECK(
            widths[i] == settings::kDefaultColumnWidths[i] ||
            (widths[i] >= settings::kMinColumnWidth && widths[i] <= settings::kMaxColumnWidth));
    }
    EK_FUZZ_CHECK(settings::ParseColumnWidths(settings::FormatColumnWidths(widths)) == widths);
    ek::MemoryProfileStore store;
    store.WriteProfileString(settings::kLVH.key.section, settings::kLVH.key.name, value);
    EK_FUZZ_CHECK(settings::LoadColumnWidths(store, settings::kLVH) == widths);
}

void CheckWindowPos(const std::string& value) {
    const std::optional<settings::WindowPlacement> placement = settings::ParseWindowPos(value);
    if (placement) {
        EK_FUZZ_CHECK(std::count(value.begin(), value.end(), ':') >= 9);
        EK_FUZZ_CHECK(settings::ParseWindowPos(settings::FormatWindowPos(*placement)) == placement);
    }
    ek::MemoryProfileStore store;
    store.WriteProfileString(settings::kWindowPos.section, settings::kWindowPos.name, value);
    EK_FUZZ_CHECK(settings::LoadWindowPos(store) == placement);
}

void CheckFaceCuts(const std::string& value, std::size_t maxBytes) {
    const std::string cp932 = settings::CutFaceName(value, maxBytes);
    EK_FUZZ_CHECK(cp932.size() <= maxBytes && value.compare(0, cp932.size(), cp932) == 0);
    EK_FUZZ_CHECK(ek::cp932::IsCharBoundary(value, cp932.size()));
    EK_FUZZ_CHECK(cp932.empty() ||
                  !ek::cp932::IsLeadByte(static_cast<unsigned char>(cp932.back())) ||
                  !ek::cp932::IsCharBoundary(cp932, cp932.size() - 1));
    const std::string utf8 = settings::CutUtf8FaceName(value, maxBytes);
    EK_FUZZ_CHECK(utf8.size() <= value.size() && value.compare(0, utf8.size(), utf8) == 0);
    EK_FUZZ_CHECK(settings::CutUtf8FaceName(utf8, maxBytes) == utf8);
    EK_FUZZ_CHECK(utf8.size() <= 4 * maxBytes);
}

// The same input as a whole profile file: whatever it holds, the values the panes
// load from it are usable, and the reader refuses every write.
void CheckProfileFile(const std::string& text) {
    ek::ProfileFile profile = ek::ProfileFile::Parse(text);
    for (const settings::FontSetting* setting :
         {&settings::kCFont, &settings::kTFont, &settings::kTHFont}) {
        const settings::FontSpec font = settings::LoadFont(profile, *setting);
        EK_FUZZ_CHECK(font.size >= setting->minSize && font.size <= setting->maxSize);
        EK_FUZZ_CHECK(!font.face.empty());
    }
    for (int width : settings::LoadColumnWidths(profile, settings::kLVH)) {
        EK_FUZZ_CHECK(width >= settings::kMinColumnWidth && width <= settings::kMaxColumnWidth);
    }
    if (const auto placement = settings::LoadWindowPos(profile)) {
        EK_FUZZ_CHECK(settings::ParseWindowPos(settings::FormatWindowPos(*placement)) == placement);
    }
    EK_FUZZ_CHECK(settings::LoadRecentFiles(profile).size() <= settings::kRecentFileCount);
    EK_FUZZ_CHECK(!profile.WriteProfileString("Settings", "Quote", text));
    EK_FUZZ_CHECK(!profile.WriteProfileInt("Settings", "Header", 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string value(ek::fuzz::AsText(data, size));
    CheckFont(value, settings::kCFont);
    CheckFont(value, settings::kTFont);
    CheckColumns(value);
    CheckWindowPos(value);
    CheckFaceCuts(value, settings::kMaxFaceBytes);
    CheckFaceCuts(value, size % 40);
    CheckProfileFile(value);

    ek::MemoryProfileStore store;
    store.WriteProfileString(settings::kHeader.key.section, settings::kHeader.key.name, value);
    store.WriteProfileString(settings::kQuote.key.section, settings::kQuote.key.name, value);
    EK_FUZZ_CHECK(settings::Read(store, settings::kHeader) == ReferenceInt(value, 1));
    EK_FUZZ_CHECK(store.GetProfileInt(settings::kHeader.key.section, settings::kHeader.key.name,
                                      -7) == ReferenceInt(value, -7));
    EK_FUZZ_CHECK(settings::Read(store, settings::kQuote) == value);
    return 0;
}
