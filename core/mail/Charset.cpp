#include "core/mail/Charset.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <array>

#include "core/mail/GMimeSupport.h"
#include "core/platform/Cp932Decode.h"
#include "core/platform/Utf8.h"

namespace ek::mail {

namespace {

constexpr std::array<std::string_view, 11> kCp932Labels = {
    "shift_jis", "shift-jis", "sjis",       "x-sjis",     "cp932",         "windows-31j",
    "ms932",     "ms_kanji",  "csshiftjis", "x-ms-cp932", "shift_jisx0213"};
constexpr std::array<std::string_view, 4> kAsciiLabels = {"us-ascii", "ascii", "ansi_x3.4-1968",
                                                          "iso646-us"};

std::string NormalLabel(std::string_view label) {
    std::string normal;
    for (char c : label) {
        if (c == '*') {
            break;  // RFC 2231 language suffix
        }
        if (c != '"' && c != '\'' && c != ' ' && c != '\t') {
            normal += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return normal;
}

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsIso2022JpLabel(std::string_view label) {
    return label.starts_with("iso-2022-jp") || label == "csiso2022jp" ||
           label.starts_with("iso2022jp");
}

// A JIS X 0208 row/cell pair as the Shift-JIS pair that stands for it.
void AppendShiftJisPair(std::string& out, unsigned char j1, unsigned char j2) {
    const unsigned lead = (j1 + 1) / 2 + (j1 <= 0x5E ? 0x70 : 0xB0);
    const unsigned trail = (j1 % 2 == 1) ? j2 + (j2 >= 0x60 ? 0x20 : 0x1F) : j2 + 0x7E;
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
}

// Converts with the system's converter through GMime; false when the label is unknown
// or the bytes are invalid for it.
bool ConvertWithIconv(std::string_view bytes, const std::string& label, std::string& utf8) {
    EnsureGMime();
    iconv_t cd = g_mime_iconv_open("UTF-8", label.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                const std::size_t used = static_cast<std::size_t>(to - out.data());
                out.resize(out.size() * 2);
                to = out.data() + used;
                toLeft = out.size() - used;
                continue;
            }
            ok = false;
            break;
        }
    }
    if (ok && iconv(cd, nullptr, nullptr, &to, &toLeft) == static_cast<std::size_t>(-1)) {
        ok = false;
    }
    g_mime_iconv_close(cd);
    if (!ok) {
        return false;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    utf8 = std::move(out);
    return ek::utf8::IsValid(utf8);
}

}  // namespace

bool IsCp932Label(std::string_view label) {
    const std::string normal = NormalLabel(label);
    return normal.empty() ||
           std::find(kCp932Labels.begin(), kCp932Labels.end(), normal) != kCp932Labels.end();
}

bool Iso2022JpToCp932(std::string_view bytes, std::string& cp932) {
    enum class Set { Ascii, Kanji, Kana, Unknown };
    Set set = Set::Ascii;
    cp932.clear();
    cp932.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x1B) {
            const std::string_view rest = bytes.substr(i + 1);
            if (rest.starts_with("(B") || rest.starts_with("(J")) {
                set = Set::Ascii;
            } else if (rest.starts_with("$B") || rest.starts_with("$@")) {
                set = Set::Kanji;
            } else if (rest.starts_with("(I")) {
                set = Set::Kana;
            } else if (rest.starts_with("$(D")) {
                set = Set::Unknown;  // JIS X 0212: no CP932 counterpart
                i += 4;
                continue;
            } else {
                return false;
            }
            i += 3;
            continue;
        }
        if (b >= 0x80) {
            return false;
        }
        if (b == '\n' || b == '\r' || set == Set::Ascii) {
            if (b == '\n') {
                set = Set::Ascii;  // a line never carries its shift over
            }
            cp932 += static_cast<char>(b);
            ++i;
            continue;
        }
        if (set == Set::Kana) {
            cp932 += static_cast<char>(b >= 0x21 && b <= 0x5F ? b + 0x80 : 0x80);
            ++i;
            continue;
        }
        const unsigned char next =
            i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (b >= 0x21 && b <= 0x7E && next >= 0x21 && next <= 0x7E && set == Set::Kanji) {
            AppendShiftJisPair(cp932, b, next);
            i += 2;
        } else {
            cp932 += '\x80';  // decodes as U+FFFD
            i += (next >= 0x21 && next <= 0x7E) ? 2 : 1;
        }
    }
    return true;
}

std::string Cp932TextToUtf8(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t length = 1;
        const char32_t cp = cp932::DecodeChar(bytes, i, &length);
        // An unmapped pair whose second byte is ASCII is a stray lead byte before a
        // plain character (Latin-1 or UTF-8 text read as CP932): keep the character,
        // as browsers and Python's codec do.
        if (cp == cp932::kReplacementChar && length == 2 &&
            static_cast<unsigned char>(bytes[i + 1]) < 0x80) {
            length = 1;
        }
        cp932::AppendUtf8(utf8, cp);
        i += length;
    }
    return utf8;
}

std::string CharsetToUtf8(std::string_view bytes, std::string_view label) {
    const std::string normal = NormalLabel(label);
    if (IsIso2022JpLabel(normal)) {
        std::string cp932;
        if (Iso2022JpToCp932(bytes, cp932)) {
            return Cp932TextToUtf8(cp932);
        }
        std::string utf8;
        if (IsAscii(bytes) && ConvertWithIconv(bytes, normal, utf8)) {
            return utf8;
        }
        return Cp932TextToUtf8(bytes);
    }
    if (normal.empty() ||
        std::find(kCp932Labels.begin(), kCp932Labels.end(), normal) != kCp932Labels.end()) {
        return Cp932TextToUtf8(bytes);
    }
    if (std::find(kAsciiLabels.begin(), kAsciiLabels.end(), normal) != kAsciiLabels.end()) {
        return IsAscii(bytes) ? std::string(bytes) : Cp932TextToUtf8(bytes);
    }
    if (normal == "utf-8" || normal == "utf8") {
        return ek::utf8::IsValid(bytes) ? std::string(bytes) : Cp932TextToUtf8(bytes);
    }
    std::string utf8;
    if (ConvertWithIconv(bytes, normal, utf8)) {
        return utf8;
    }
    return Cp932TextToUtf8(bytes);
}

}  // namespace ek::mail
