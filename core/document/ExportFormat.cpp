// The exported bytes of one message: the mboxrd form with its "From " line, and the
// .eml form with CR LF line ends.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>

#include "core/document/ByteScan.h"
#include "core/document/EKViewDoc.h"
#include "core/document/Export.h"
#include "core/document/TextRules.h"

namespace ek {

namespace {

constexpr std::array<std::string_view, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed",
                                                       "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::string_view kEpochDate = "Thu Jan 01 00:00:00 1970";
constexpr std::size_t kStartPrefixLength = 7;  // "From - "
constexpr std::size_t kMboxDateLength = kEpochDate.size();
constexpr std::string_view kFromPrefix = "From MAILER-DAEMON ";

struct CivilTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

bool IsReal(const CivilTime& t) {
    return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysInMonth(t.year, t.month) && t.hour <= 23 && t.minute <= 59 &&
           t.second <= 59;
}

// 0 for Sunday (Sakamoto's method on the proleptic Gregorian calendar).
int Weekday(const CivilTime& t) {
    static constexpr std::array<int, 12> kOffsets = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = t.month < 3 ? t.year - 1 : t.year;
    return (y + y / 4 - y / 100 + y / 400 + kOffsets[static_cast<std::size_t>(t.month - 1)] +
            t.day) %
           7;
}

// Digits only; -1 when the text is empty or holds anything else.
int Number(std::string_view digits) {
    if (digits.empty()) {
        return -1;
    }
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

template <std::size_t N>
int NameIndex(std::string_view text, const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < N; ++i) {
        if (EqualsIgnoringAsciiCase(text, names[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

char* PutTwoDigits(char* out, int value) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
    return out + 2;
}

char* PutName(char* out, std::string_view name) {
    out[0] = name[0];
    out[1] = name[1];
    out[2] = name[2];
    return out + 3;
}

// Fills the kMboxDateLength characters at `out`; nothing is allocated, as it runs per message.
void Format(char* out, std::string_view weekday, const CivilTime& t) {
    out = PutName(out, weekday);
    *out++ = ' ';
    out = PutName(out, kMonths[static_cast<std::size_t>(t.month - 1)]);
    *out++ = ' ';
    out = PutTwoDigits(out, t.day);
    *out++ = ' ';
    out = PutTwoDigits(out, t.hour);
    *out++ = ':';
    out = PutTwoDigits(out, t.minute);
    *out++ = ':';
    out = PutTwoDigits(out, t.second);
    *out++ = ' ';
    out = PutTwoDigits(out, t.year / 100);
    PutTwoDigits(out, t.year % 100);
}

// "Sun Jan 02 15:04:05 2000" as the message-start line holds it (names in any case).
bool StartLineDate(std::string_view date, CivilTime& t, int& weekday) {
    if (date.size() != 24 || date[3] != ' ' || date[7] != ' ' || date[10] != ' ' ||
        date[13] != ':' || date[16] != ':' || date[19] != ' ') {
        return false;
    }
    weekday = NameIndex(date.substr(0, 3), kWeekdays);
    t.month = NameIndex(date.substr(4, 3), kMonths) + 1;
    t.day = Number(date.substr(8, 2));
    t.hour = Number(date.substr(11, 2));
    t.minute = Number(date.substr(14, 2));
    t.second = Number(date.substr(17, 2));
    t.year = Number(date.substr(20, 4));
    return weekday >= 0 && IsReal(t);
}

// The date key "YYYY/MM/DD h:mm:ss" (one- or two-digit hour, anything after the seconds).
bool DateKeyTime(std::string_view key, CivilTime& t) {
    if (key.size() < 17 || key[4] != '/' || key[7] != '/' || key[10] != ' ') {
        return false;
    }
    t.year = Number(key.substr(0, 4));
    t.month = Number(key.substr(5, 2));
    t.day = Number(key.substr(8, 2));
    std::string_view time = key.substr(11);
    std::size_t hourLength = time.size() > 1 && time[1] == ':' ? 1 : 2;
    if (time.size() < hourLength + 6 || time[hourLength] != ':' || time[hourLength + 3] != ':') {
        return false;
    }
    t.hour = Number(time.substr(0, hourLength));
    t.minute = Number(time.substr(hourLength + 1, 2));
    t.second = Number(time.substr(hourLength + 4, 2));
    std::string_view rest = time.substr(hourLength + 6);
    return TrimSpace(rest).empty() && t.hour >= 0 && t.minute >= 0 && t.second >= 0 && IsReal(t);
}

// The stored lines after the message-start line.
std::string_view LinesAfterStart(const CEKViewDoc& doc, int index) {
    std::string_view text = doc.MessageLines(index).text();
    std::size_t lf = text.find('\n');
    return lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
}

// Calls `onLine` with the offset of each line matching ^>*From, in order. Only line
// starts whose first byte is '>' or 'F' are looked at, found 64 bytes at a time, so
// Shift-JIS text, where 0x46 is a common second byte, costs no more than ASCII.
// The reader notes which messages hold such lines; only those are searched.
template <typename OnLine>
void ForEachFromLine(std::string_view lines, OnLine onLine) {
    std::uint64_t startCarry = 1;  // the first line starts at offset 0
    for (std::size_t window = 0; window < lines.size(); window += kScanWidth) {
        const std::size_t count = std::min(kScanWidth, lines.size() - window);
        const ByteMatches<3> masks = MatchBytes<'\n', 'F', '>'>(lines.data() + window, count);
        const std::uint64_t starts = (masks[0] << 1) | startCarry;
        startCarry = masks[0] >> 63;
        for (std::uint64_t hits = starts & (masks[1] | masks[2]); hits != 0; hits &= hits - 1) {
            const std::size_t at = window + static_cast<std::size_t>(std::countr_zero(hits));
            if (IsMboxFromLine(lines.substr(at))) {
                onLine(at);
            }
        }
    }
}

}  // namespace

void MboxDate(const CEKViewDoc& doc, int index, char* out) {
    std::string_view text = doc.MessageLines(index).text();
    CivilTime t;
    int weekday = -1;
    if (text.size() >= kStartPrefixLength + kMboxDateLength &&
        StartLineDate(text.substr(kStartPrefixLength, kMboxDateLength), t, weekday)) {
        Format(out, kWeekdays[static_cast<std::size_t>(weekday)], t);
        return;
    }
    std::string key;
    if (CEKViewDoc::NormalizeDate(doc.GetHeaderValue(index, "Date: "), key) &&
        DateKeyTime(key, t)) {
        Format(out, kWeekdays[static_cast<std::size_t>(Weekday(t))], t);
        return;
    }
    kEpochDate.copy(out, kMboxDateLength);
}

std::string MboxDate(const CEKViewDoc& doc, int index) {
    std::string date(kMboxDateLength, ' ');
    MboxDate(doc, index, date.data());
    return date;
}

void ForEachMboxPiece(const CEKViewDoc& doc, int index,
                      const std::function<void(std::string_view)>& piece) {
    char fromLine[kFromPrefix.size() + kMboxDateLength + 1];
    kFromPrefix.copy(fromLine, kFromPrefix.size());
    MboxDate(doc, index, fromLine + kFromPrefix.size());
    fromLine[sizeof fromLine - 1] = '\n';
    piece(std::string_view(fromLine, sizeof fromLine));
    // Lines are passed on in whole runs; only a line matching ^>*From breaks a run.
    std::string_view lines = LinesAfterStart(doc, index);
    std::size_t runStart = 0;
    if (doc.HasMboxFromLines(index)) {
        ForEachFromLine(lines, [&](std::size_t lineStart) {
            piece(lines.substr(runStart, lineStart - runStart));
            piece(">");
            runStart = lineStart;
        });
    }
    piece(lines.substr(runStart));
    piece("\n");
}

void AppendMboxMessage(std::string& out, const CEKViewDoc& doc, int index) {
    ForEachMboxPiece(doc, index, [&out](std::string_view bytes) { out.append(bytes); });
}

void AppendEmlMessage(std::string& out, const CEKViewDoc& doc, int index) {
    std::string_view lines = LinesAfterStart(doc, index);
    std::size_t at = 0;
    while (at < lines.size()) {
        std::size_t lf = lines.find('\n', at);
        if (lf == std::string_view::npos) {
            lf = lines.size();
        }
        out.append(lines.substr(at, lf - at));
        out += "\r\n";
        at = lf + 1;
    }
}

std::string EmlFileName(int index, int count) {
    std::string number = std::to_string(index + 1);
    std::size_t width = std::to_string(count).size();
    if (number.size() < width) {
        number.insert(0, width - number.size(), '0');
    }
    return number + ".eml";
}

}  // namespace ek
