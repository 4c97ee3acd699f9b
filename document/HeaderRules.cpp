// Date keys and sender names: plain text operations on header values.
#include <array>

#include "document/EKViewDoc.h"
#include "document/TextRules.h"

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

bool CEKViewDoc::NormalizeDate(std::string_view value, std::string& key) {
    key = kFallbackDateKey;
    std::string_view rest = value;
    if (rest.size() > 3 && rest[3] == ',') {
        rest = rest.size() > 5 ? rest.substr(5) : std::string_view();
    }
    rest = TrimLeftSpace(rest);

    std::string day(TrimRightSpace(BeforeFirstSpace(rest)));
    if (day.size() == 1) {
        day = "0" + day;
    }
    rest = TrimLeftSpace(AfterFirstSpace(rest));

    std::string_view month = BeforeFirstSpace(rest);
    rest = TrimLeftSpace(AfterFirstSpace(rest));

    std::string year(BeforeFirstSpace(rest));
    if (year.size() == 2) {
        year.insert(0, "19");
    }
    rest = TrimLeftSpace(AfterFirstSpace(rest));

    std::string_view time = rest.substr(0, 8);

    if (month.size() < 3) {
        return false;
    }
    for (std::size_t m = 0; m < kMonths.size(); ++m) {
        if (EqualsIgnoringAsciiCase(month.substr(0, 3), kMonths[m])) {
            char number[3] = {static_cast<char>('0' + (m + 1) / 10),
                              static_cast<char>('0' + (m + 1) % 10), '\0'};
            key.clear();
            key.reserve(year.size() + day.size() + time.size() + 5);
            key.append(year).append("/").append(number).append("/").append(day);
            key.append(" ").append(time);
            return true;
        }
    }
    return false;
}

std::string CEKViewDoc::GetSenderName(std::string_view from) {
    std::size_t open = from.find('<');
    if (open != std::string_view::npos) {
        // The first '<' through the first '>' is the address; a '>' before the '<'
        // (or none) removes nothing.
        std::size_t close = from.find('>');
        std::string rest(from);
        if (close != std::string_view::npos && close > open) {
            rest.erase(open, close - open + 1);
        }
        std::string_view name = TrimSpace(rest);
        return name.empty() ? std::string(from) : std::string(StripQuotes(name));
    }
    open = from.find('(');
    if (open != std::string_view::npos) {
        std::size_t close = from.find(')');
        std::string_view inner;
        if (close != std::string_view::npos && close > open + 1) {
            inner = TrimSpace(from.substr(open + 1, close - open - 1));
        }
        return inner.empty() ? std::string(from) : std::string(StripQuotes(inner));
    }
    return std::string(from);
}

}  // namespace ek
