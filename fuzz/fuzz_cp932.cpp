// The CP932 layer on arbitrary bytes: the decoder with its position map, UTF-8 output,
// the character rules, the marker search, and the encoder on what was decoded.
#include "core/platform/Cp932.h"
#include "core/platform/Cp932Decode.h"
#include "core/platform/Cp932Encode.h"
#include "core/platform/Utf8.h"
#include "fuzz/FuzzSupport.h"

namespace {

namespace cp932 = ek::cp932;

// Strict UTF-8: shortest forms, no surrogates, nothing past U+10FFFF.
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
    // Where characters start, walked once: a lead byte takes the next byte only when
    // that byte is a trail byte.
    std::vector<bool> boundary(size + 1, false);
    for (std::size_t b = 0; b < size; b += cp932::CharLength(bytes, b)) {
        boundary[b] = true;
    }
    boundary[size] = true;
    std::string utf8;
    for (std::size_t b = 0; b < size; ++b) {
        EK_FUZZ_CHECK(map[b + 1] == map[b] || map[b + 1] == map[b] + 1);
        // A character starts exactly where the map climbs.
        const bool starts = b == 0 || map[b] != map[b - 1];
        EK_FUZZ_CHECK(starts == boundary[b]);
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
    for (std::size_t b : {std::size_t{0}, size / 3, size / 2, size}) {
        EK_FUZZ_CHECK(cp932::IsCharBoundary(bytes, b) == boundary[b]);
    }
    EK_FUZZ_CHECK(cp932::ToWide(bytes) == text);
    EK_FUZZ_CHECK(cp932::ToUtf8(bytes) == utf8);
    EK_FUZZ_CHECK(ek::utf8::IsValid(utf8));

    // Marker search: a match where a character starts, and none such before it.
    if (size > 1) {
        const std::size_t markerLength = 1 + data[0] % 3;
        const std::string_view marker = bytes.substr(size - std::min(size - 1, markerLength));
        const std::string_view haystack = bytes.substr(1, size - 1 - marker.size());
        std::vector<bool> starts(haystack.size() + 1, false);
        for (std::size_t b = 0; b < haystack.size(); b += cp932::CharLength(haystack, b)) {
            starts[b] = true;
        }
        std::size_t expected = std::string_view::npos;
        for (std::size_t at = 0; at + marker.size() <= haystack.size(); ++at) {
            if (starts[at] && haystack.substr(at, marker.size()) == marker) {
                expected = at;
                break;
            }
        }
        EK_FUZZ_CHECK(cp932::FindMarker(haystack, marker) == expected);
        const std::size_t limit = data[0] % 64u;
        const std::string_view cut = cp932::CutAtCharBoundary(bytes, limit);
        EK_FUZZ_CHECK(cut.size() <= limit && boundary[cut.size()]);
        EK_FUZZ_CHECK(cut.size() == size ||
                      cut.size() + cp932::CharLength(bytes, cut.size()) > limit);
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
