#include "core/mail/HtmlText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include "core/platform/Cp932Decode.h"

namespace ek::mail {

namespace {

constexpr std::array<std::string_view, 14> kBlockTags = {
    "p", "div", "tr", "li", "h1", "h2", "h3", "h4", "h5", "h6", "table", "ul", "ol", "blockquote"};
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kEntities = {{
    {"amp", "&"},
    {"lt", "<"},
    {"gt", ">"},
    {"quot", "\""},
    {"apos", "'"},
    {"nbsp", " "},
    {"copy", "\xC2\xA9"},
    {"yen", "\xC2\xA5"},
}};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

class TextBuilder {
  public:
    void Char(char c) {
        if (IsSpace(c)) {
            m_pendingSpace = !m_text.empty() && m_text.back() != '\n';
            return;
        }
        if (m_pendingSpace) {
            m_text += ' ';
            m_pendingSpace = false;
        }
        m_text += c;
    }
    void Text(std::string_view text) {
        for (char c : text) {
            Char(c);
        }
    }
    void Break(int lines) {
        m_pendingSpace = false;
        while (!m_text.empty() && m_text.back() == ' ') {
            m_text.pop_back();
        }
        int have = 0;
        for (auto it = m_text.rbegin(); it != m_text.rend() && *it == '\n'; ++it) {
            ++have;
        }
        if (m_text.empty()) {
            return;
        }
        for (; have < lines; ++have) {
            m_text += '\n';
        }
    }
    std::string Finish() {
        Break(1);
        return std::move(m_text);
    }

  private:
    std::string m_text;
    bool m_pendingSpace = false;
};

// The value of attribute `name` in a tag's text, or empty.
std::string Attribute(std::string_view tag, std::string_view name) {
    std::string lower;
    for (char c : tag) {
        lower += Lower(c);
    }
    std::size_t at = 0;
    while ((at = lower.find(name, at)) != std::string::npos) {
        std::size_t pos = at + name.size();
        const bool startsWord = at > 0 && IsSpace(lower[at - 1]);
        while (pos < lower.size() && IsSpace(lower[pos])) {
            ++pos;
        }
        if (!startsWord || pos >= lower.size() || lower[pos] != '=') {
            at += name.size();
            continue;
        }
        ++pos;
        while (pos < lower.size() && IsSpace(lower[pos])) {
            ++pos;
        }
        if (pos < tag.size() && (tag[pos] == '"' || tag[pos] == '\'')) {
            const std::size_t close = tag.find(tag[pos], pos + 1);
            return std::string(tag.substr(pos + 1, close == std::string_view::npos
                                                       ? std::string_view::npos
                                                       : close - pos - 1));
        }
        std::size_t end = pos;
        while (end < tag.size() && !IsSpace(tag[end]) && tag[end] != '>') {
            ++end;
        }
        return std::string(tag.substr(pos, end - pos));
    }
    return {};
}

// Resolves the reference at `pos` ('&'); returns its length, 0 when it is none.
std::size_t Reference(std::string_view html, std::size_t pos, std::string& out) {
    const std::size_t semi = html.find(';', pos);
    if (semi == std::string_view::npos || semi - pos > 10) {
        return 0;
    }
    std::string_view name = html.substr(pos + 1, semi - pos - 1);
    if (name.starts_with('#')) {
        unsigned value = 0;
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        std::string_view digits = name.substr(hex ? 2 : 1);
        auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
        if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
            return 0;
        }
        out.clear();
        cp932::AppendUtf8(out, value == 0 || value > 0x10FFFF ? 0xFFFD : value);
        return semi - pos + 1;
    }
    for (const auto& [entity, text] : kEntities) {
        if (name == entity) {
            out = text;
            return semi - pos + 1;
        }
    }
    return 0;
}

std::string TagName(std::string_view tag) {
    std::string name;
    std::size_t i = tag.starts_with('/') ? 1 : 0;
    for (; i < tag.size() && !IsSpace(tag[i]) && tag[i] != '/' && tag[i] != '>'; ++i) {
        name += Lower(tag[i]);
    }
    return name;
}

}  // namespace

std::string HtmlToText(std::string_view html) {
    TextBuilder text;
    std::string pendingLink;
    std::string skipUntil;  // the closing tag of a script or style being skipped
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            if (html.compare(i, 4, "<!--") == 0) {
                const std::size_t close = html.find("-->", i + 4);
                i = close == std::string_view::npos ? html.size() : close + 3;
                continue;
            }
            const std::size_t close = html.find('>', i + 1);
            const std::string_view tag =
                html.substr(i + 1, (close == std::string_view::npos ? html.size() : close) - i - 1);
            i = close == std::string_view::npos ? html.size() : close + 1;
            const bool closing = tag.starts_with('/');
            const std::string name = TagName(tag);
            if (!skipUntil.empty()) {
                if (closing && name == skipUntil) {
                    skipUntil.clear();
                }
                continue;
            }
            if (!closing &&
                (name == "script" || name == "style" || name == "head" || name == "title")) {
                skipUntil = name;
            } else if (name == "br") {
                text.Break(1);
            } else if (name == "a" && !closing) {
                pendingLink = Attribute(tag, "href");
            } else if (name == "a" && closing) {
                if (!pendingLink.empty() && !pendingLink.starts_with('#')) {
                    text.Text(" <" + pendingLink + ">");
                }
                pendingLink.clear();
            } else if (std::find(kBlockTags.begin(), kBlockTags.end(), name) != kBlockTags.end()) {
                text.Break(name == "p" || name.starts_with('h') || name == "blockquote" ? 2 : 1);
            }
            continue;
        }
        if (!skipUntil.empty()) {
            ++i;
            continue;
        }
        std::string resolved;
        if (c == '&') {
            if (std::size_t length = Reference(html, i, resolved); length > 0) {
                text.Text(resolved);
                i += length;
                continue;
            }
        }
        text.Char(c);
        ++i;
    }
    return text.Finish();
}

}  // namespace ek::mail
