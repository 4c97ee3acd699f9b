// Words, names and number formatting shared by the parts of ekview-gen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "GenRandom.h"

namespace ek::gen {

using namespace std::literals;

struct Name {
    std::string_view kanji;
    std::string_view romaji;
};

#include "GenWords.inc"

inline constexpr std::string_view kWeekdays[] = {"Sun"sv, "Mon"sv, "Tue"sv, "Wed"sv,
                                                 "Thu"sv, "Fri"sv, "Sat"sv};
inline constexpr std::string_view kMonths[] = {"Jan"sv, "Feb"sv, "Mar"sv, "Apr"sv,
                                               "May"sv, "Jun"sv, "Jul"sv, "Aug"sv,
                                               "Sep"sv, "Oct"sv, "Nov"sv, "Dec"sv};
inline constexpr std::string_view kDomains[] = {
    "example.jp"sv,      "example.com"sv,    "example.org"sv,     "example.net"sv,
    "mail.example.jp"sv, "ml.example.org"sv, "lab.example.com"sv, "dept.example.jp"sv};
inline constexpr std::string_view kRelays[] = {"mx.example.jp"sv, "mail.example.com"sv,
                                               "smtp.example.org"sv, "relay.example.net"sv};
inline constexpr std::string_view kNets[] = {"192.0.2."sv, "198.51.100."sv, "203.0.113."sv};
inline constexpr std::string_view kZones[] = {"+0900"sv,       "+0900"sv, "+0900"sv, "+0900"sv,
                                              "+0900 (JST)"sv, "-0800"sv, "+0000"sv, "GMT"sv};
inline constexpr std::string_view kMailers[] = {"Sample Mailer 2.1"sv, "ExampleMail Ver.3.02"sv,
                                                "Test Post 1.4 (Win32)"sv,
                                                "Mail Writer for Windows 5.0"sv};
inline constexpr std::string_view kEnglish[] = {
    "the"sv,      "meeting"sv, "report"sv,  "is"sv,       "will"sv,     "be"sv,      "on"sv,
    "next"sv,     "week"sv,    "please"sv,  "find"sv,     "attached"sv, "file"sv,    "for"sv,
    "your"sv,     "review"sv,  "thanks"sv,  "server"sv,   "update"sv,   "release"sv, "we"sv,
    "have"sv,     "fixed"sv,   "a"sv,       "problem"sv,  "in"sv,       "build"sv,   "and"sv,
    "schedule"sv, "changed"sv, "project"sv, "customer"sv, "test"sv,     "results"sv};
inline constexpr std::string_view kFiles[] = {"report.pdf"sv, "photo.jpg"sv, "data.xls"sv,
                                              "memo.txt"sv,   "plan.doc"sv,  "map.gif"sv};
inline constexpr std::string_view kPaths[] = {"news"sv,     "products"sv, "support"sv, "archive"sv,
                                              "docs"sv,     "event"sv,    "ml"sv,      "info"sv,
                                              "download"sv, "faq"sv};
void PutUint(std::string& out, std::uint64_t v, int width = 1);
void PutHex(std::string& out, std::uint64_t v, int digits);
// `count` random base64 characters.
void PutBase64(std::string& out, Rng& rng, std::size_t count);
// "Sun Jan 02 15:04:05 2000", the 24 characters after "From - ".
void PutStartDate(std::string& out, std::int64_t t);

}  // namespace ek::gen
