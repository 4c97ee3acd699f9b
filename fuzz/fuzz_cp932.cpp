// The CP932 layer on arbitrary bytes: the decoder with its position map, UTF-8 output,
// the character rules, the marker search, and the encoder on what was decoded.
#include "fuzz/FuzzSupport.h"
#include "platform/Cp932.h"
#include "platform/Cp932Decode.h"
#include "platform/Cp932Encode.h"

namespace {

namespace cp932 = ek::cp932;

// Strict UTF-8: shortest forms, no surrogates, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
        } else if (b >= 0x80) {
            return false;
        }
        if (extra >= text.size() - i) {
            return false;
        }
        char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < smallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = ek::fuzz::AsText(data, size);
    const cp932::DecodedText decoded = cp932::DecodeWithPositions(bytes);
    const std::wstring& text = decoded.text;
    const std::vector<std::size_t>& map = decoded.charPos;

    // The map: one entry per byte and one for the end, starting at 0, climbing by at
    // most one, and ending at the text size.
    EK_FUZZ_CHECK(map.size() == size + 1);
    EK_FUZZ_CHECK(map.front() == 0 && map.back() == text.size());
    EK_FUZZ_CHECK(text.size() <= size);
    std::string utf8;
    for (std::size_t b = 0; b < size; ++b) {
        EK_FUZZ_CHECK(map[b + 1] == map[b] || map[b + 1] == map[b] + 1);
        // A character starts exactly where the map climbs, and the rules agree on it.
        const bool starts = b == 0 || map[b] != map[b - 1];
        EK_FUZZ_CHECK(starts == cp932::IsCharBoundary(bytes, b));
        if (starts) {
            std::size_t length = 0;
            const char32_t c = cp932::DecodeChar(bytes, b, &length);
            EK_FUZZ_CHECK(length == cp932::CharLength(bytes, b));
            EK_FUZZ_CHECK(static_cast<char32_t>(text[map[b]]) == c);
            EK_FUZZ_CHECK(c != 0 || bytes[b] == '\0');
            EK_FUZZ_CHECK(c < 0xD800 || (c > 0xDFFF && c <= 0xFFFF));
            EK_FUZZ_CHECK(map[b + length] == map[b] + 1);
            cp932::AppendUtf8(utf8, c);
        }
    }
    EK_FUZZ_CHECK(cp932::ToWide(bytes) == text);
    EK_FUZZ_CHECK(cp932::ToUtf8(bytes) == utf8);
    EK_FUZZ_CHECK(IsValidUtf8(utf8));

    // Marker search: a boundary match, and no boundary match before it.
    if (size > 1) {
        const std::size_t markerLength = 1 + data[0] % 3;
        const std::string_view marker = bytes.substr(size - std::min(size - 1, markerLength));
        const std::string_view haystack = bytes.substr(1, size - 1 - marker.size());
        const std::size_t found = cp932::FindMarker(haystack, marker);
        for (std::size_t at = 0; at < haystack.size() && at < found; ++at) {
            EK_FUZZ_CHECK(!(cp932::IsCharBoundary(haystack, at) &&
                            haystack.substr(at, marker.size()) == marker));
        }
        if (found != std::string_view::npos) {
            EK_FUZZ_CHECK(cp932::IsCharBoundary(haystack, found));
            EK_FUZZ_CHECK(haystack.substr(found, marker.size()) == marker);
        }
        const std::string_view cut = cp932::CutAtCharBoundary(bytes, data[0] % 64);
        EK_FUZZ_CHECK(cut.size() <= data[0] % 64u && cp932::IsCharBoundary(bytes, cut.size()));
        EK_FUZZ_CHECK(cut.size() == size ||
                      cut.size() + cp932::CharLength(bytes, cut.size()) > data[0] % 64u);
    }

    // Whatever decoded to a real character encodes to bytes that decode to it again.
    if (text.find(static_cast<wchar_t>(cp932::kReplacementChar)) == std::wstring::npos) {
        bool lossless = false;
        const std::string encoded = cp932::FromWide(text, &lossless);
        EK_FUZZ_CHECK(lossless);
        EK_FUZZ_CHECK(cp932::ToWide(encoded) == text);
        EK_FUZZ_CHECK(cp932::FromUtf8(utf8) == encoded);
    }
    return 0;
}
