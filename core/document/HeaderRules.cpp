// Date keys and sender names: plain text operations on header values.
#include <array>

#include "core/document/EKViewDoc.h"
#include "core/document/TextRules.h"

namespace ek {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The part before the first space (empty when there is none) and the part after it
// (all of the text when there is none).
std::string_view BeforeFirstSpace(std::string_view text) {
    std::size_t space = text.find(' ');
    return space == std::string_view::npos ? std::string_view() : text.substr(0, space);
}

std::string_view AfterFirstSpace(std::string_view text) {
    std::size_t space = text.find(' ');
    return space == std::string_view::npos ? text : text.substr(space + 1);
}

std::string_view StripQuotes(std::string_view text) {
    while (!text.empty() && text.front() == '"') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == '"') {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

// The key is built in `key` itself, so that a key reused from one message to the next
// needs no allocation.
bool CEKViewDoc::NormalizeDate(std::string_view value, std::string& key) {
    key = kFallbackDateKey;
    std::string_view rest = value;
    if (rest.size() > 3 && rest[3] == ',') {
        rest = rest.size() > 5 ? rest.substr(5) : std::string_view();
    }
    rest = TrimLeftSpace(rest);

    std::string_view day = TrimRightSpace(BeforeFirstSpace(rest));
    rest = TrimLeftSpace(AfterFirstSpace(rest));

    std::string_view month = BeforeFirstSpace(rest);
    rest = TrimLeftSpace(AfterFirstSpace(rest));

    std::string_view year = BeforeFirstSpace(rest);
    rest = TrimLeftSpace(AfterFirstSpace(rest));

    std::string_view time = rest.substr(0, 8);

    if (month.size() < 3) {
        return false;
    }
    for (std::size_t m = 0; m < kMonths.size(); ++m) {
        if (EqualsIgnoringAsciiCase(month.substr(0, 3), kMonths[m])) {
            const char number[2] = {static_cast<char>('0' + (m + 1) / 10),
                                    static_cast<char>('0' + (m + 1) % 10)};
            key.clear();
            if (year.size() == 2) {
                key.append("19");
            }
            key.append(year).append("/").append(number, 2).append("/");
            if (day.size() == 1) {
                key.append("0");
            }
            key.append(day).append(" ").append(time);
            return true;
        }
    }
    return false;
}

std::string CEKViewDoc::GetSenderName(std::string_view from) {
    std::string name;
    AssignSenderName(from, name);
    return name;
}

void CEKViewDoc::AssignSenderName(std::string_view from, std::string& name) {
    std::size_t open = from.find('<');
    if (open != std::string_view::npos) {
        // The first '<' through the first '>' is the address; a '>' before the '<'
        // (or none) removes nothing.
        std::size_t close = from.find('>');
        std::string_view before = from.substr(0, open);
        std::string_view after;
        if (close != std::string_view::npos && close > open) {
            after = from.substr(close + 1);
        } else {
            before = from;
        }
        // Trim the joined text: the blanks at its ends lie in `before` or `after`.
        if (TrimLeftSpace(before).empty()) {
            before = {};
            after = TrimLeftSpace(after);
        } else {
            before = TrimLeftSpace(before);
        }
        if (TrimRightSpace(after).empty()) {
            after = {};
            before = TrimRightSpace(before);
        } else {
            after = TrimRightSpace(after);
        }
        if (before.empty() && after.empty()) {
            name.assign(from);
            return;
        }
        name.assign(before).append(after);
        std::string_view stripped = StripQuotes(name);
        auto lead = static_cast<std::size_t>(stripped.data() - name.data());
        name.erase(lead + stripped.size());
        name.erase(0, lead);
        return;
    }
    open = from.find('(');
    if (open != std::string_view::npos) {
        std::size_t close = from.find(')');
        std::string_view inner;
        if (close != std::string_view::npos && close > open + 1) {
            inner = TrimSpace(from.substr(open + 1, close - open - 1));
        }
        name.assign(inner.empty() ? from : StripQuotes(inner));
        return;
    }
    name.assign(from);
}

}  // namespace ek
