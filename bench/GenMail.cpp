#include "GenMail.h"

#include <algorithm>
#include <string_view>

#include "GenRandom.h"
#include "GenText.h"

namespace ek::gen {
namespace {

constexpr std::int64_t kStart = 915148800;  // 1999-01-01 00:00:00
constexpr std::int64_t kStep = 1500;        // mean seconds between two messages
constexpr std::uint64_t kPeople = 3000;

}  // namespace

struct MailGenerator::Plan {
    std::int64_t time = 0;
    std::int64_t parent = -1;   // the message answered, -1 for none
    std::uint64_t idOwner = 0;  // whose Message-Id this message carries
    bool hasId = true;
    bool crlf = false;
};

struct MailGenerator::Person {
    std::string_view surname;
    std::string_view given;
    std::string address;
};

struct MailGenerator::Subject {
    std::string text;
    std::size_t fold = 0;  // where a long subject may continue on a second line
};

std::uint64_t MailGenerator::Stream(std::uint64_t tag, std::uint64_t index) const {
    return Mix(Mix(options_.seed ^ (tag << 56)) + index);
}

MailGenerator::Plan MailGenerator::PlanAt(std::uint64_t i) const {
    Rng r(Stream(1, i));
    Plan p;
    const std::int64_t jitter = r.PerMille(10) ? std::int64_t{r.Below(120 * 86400)} - 60 * 86400
                                               : std::int64_t{r.Below(6 * 3600)} - 3 * 3600;
    p.time = std::max<std::int64_t>(kStart + static_cast<std::int64_t>(i) * kStep + jitter, 0);
    p.hasId = !r.PerMille(30);
    p.idOwner = i;
    if (i > 0 && r.PerMille(10)) {
        p.idOwner = i - 1 - r.Below(std::min<std::uint64_t>(i, 20));
    }
    if (r.Percent(40)) {
        const std::uint64_t later = options_.messages - i - 1;
        if (later > 0 && r.Percent(8)) {
            p.parent =
                static_cast<std::int64_t>(i + 1 + r.Below(std::min<std::uint64_t>(later, 30)));
        } else if (i > 0) {
            const std::uint64_t reach = r.Percent(60) ? 10 : 300;
            p.parent = static_cast<std::int64_t>(i - 1 - r.Below(std::min(i, reach)));
        }
    }
    p.crlf = r.Below(100) < options_.crlfPercent;
    return p;
}

std::uint64_t MailGenerator::RootOf(std::uint64_t index) const {
    for (int step = 0; step < 40; ++step) {
        const Plan p = PlanAt(index);
        if (p.parent < 0) {
            break;
        }
        index = static_cast<std::uint64_t>(p.parent);
    }
    return index;
}

std::uint64_t MailGenerator::SenderOf(std::uint64_t index) const {
    return Stream(2, index) % kPeople;
}

MailGenerator::Person MailGenerator::PersonAt(std::uint64_t key) const {
    Rng r(Stream(3, key));
    const Name& surname = r.Pick(kSurnames);
    const Name& given = r.Pick(kGivenNames);
    Person person{surname.kanji, given.kanji, {}};
    std::string& a = person.address;
    switch (r.Below(3)) {
        case 0:
            a.append(given.romaji).append("."sv).append(surname.romaji);
            break;
        case 1:
            a.append(surname.romaji);
            PutUint(a, r.Below(100));
            break;
        default:
            a.push_back(given.romaji[0]);
            a.append(surname.romaji);
            break;
    }
    a.push_back('@');
    a.append(r.Pick(kDomains));
    return person;
}

MailGenerator::Subject MailGenerator::SubjectOf(std::uint64_t root) const {
    Rng r(Stream(4, root));
    Subject s;
    if (r.Percent(8)) {
        if (r.Percent(50)) {
            s.text.append("[sample-ml:"sv);
            PutUint(s.text, root % 100000, 5);
            s.text.append("] "sv);
        }
        s.text.append("Weekly "sv).append(r.Pick(kEnglish)).append(" No. "sv);
        PutUint(s.text, r.Between(1, 500));
        s.fold = s.text.size();
        return s;
    }
    if (r.Percent(15)) {
        s.text.append(r.Pick(kSubjectHeads));
    }
    s.text.append(r.Pick(kNouns));
    for (std::uint32_t k = r.Below(3); k > 0; --k) {
        s.text.append(kOf).append(r.Pick(kNouns));
    }
    if (r.Percent(10)) {
        s.text.append(" "sv).append(kNo);
        PutUint(s.text, r.Between(1, 99));
        s.text.append(kTimes);
    }
    s.fold = s.text.size();
    s.text.append(r.Pick(kSubjectTails));
    return s;
}

// Writes one message; all of its choices come from its own random stream.
class MailGenerator::Writer {
  public:
    Writer(const MailGenerator& gen, std::uint64_t index, std::string& out)
        : gen_(gen), index_(index), out_(out), rng_(gen.Stream(5, index)) {}

    void Write() {
        plan_ = gen_.PlanAt(index_);
        eol_ = plan_.crlf ? "\r\n"sv : "\n"sv;
        zone_ = rng_.Pick(kZones);
        self_ = gen_.PersonAt(gen_.SenderOf(index_));
        if (plan_.parent >= 0) {
            to_ = gen_.PersonAt(gen_.SenderOf(static_cast<std::uint64_t>(plan_.parent)));
        } else {
            to_ = gen_.PersonAt(rng_.Below(kPeople));
        }
        Header();
        Body();
    }

  private:
    // Lays out words in lines of at most `width` bytes, each line opening with `prefix`.
    class Filler {
      public:
        Filler(Writer& w, std::string_view prefix, std::size_t width)
            : w_(w), prefix_(prefix), width_(width) {}
        ~Filler() { Break(); }
        Filler(const Filler&) = delete;
        Filler& operator=(const Filler&) = delete;

        void Word(std::string_view word, bool spaced = false) {
            const bool space = spaced && col_ > prefix_.size();
            if (open_ && col_ + word.size() + (space ? 1 : 0) > width_) {
                Break();
            }
            if (!open_) {
                w_.out_.append(prefix_);
                col_ = prefix_.size();
                open_ = true;
            } else if (space) {
                w_.out_.push_back(' ');
                ++col_;
            }
            w_.out_.append(word);
            col_ += word.size();
        }
        void Break() {
            if (open_) {
                w_.Eol();
                open_ = false;
            }
        }

      private:
        Writer& w_;
        std::string_view prefix_;
        std::size_t width_;
        std::size_t col_ = 0;
        bool open_ = false;
    };

    void Eol() { out_.append(eol_); }
    template <class... Parts>
    void Line(const Parts&... parts) {
        (out_.append(std::string_view(parts)), ...);
        Eol();
    }

    void PutDate(std::int64_t t, bool weekday, bool shortYear) {
        const CivilTime c = ToCivil(t);
        if (weekday) {
            out_.append(kWeekdays[c.weekday]).append(", "sv);
        }
        PutUint(out_, c.day, c.day < 10 && rng_.Percent(30) ? 1 : 2);
        out_.append(" "sv).append(kMonths[c.month - 1]).append(" "sv);
        PutUint(out_, shortYear ? c.year % 100 : c.year, shortYear ? 2 : 4);
        out_.push_back(' ');
        PutUint(out_, c.hour, 2);
        out_.push_back(':');
        PutUint(out_, c.minute, 2);
        out_.push_back(':');
        PutUint(out_, c.second, 2);
        out_.append(" "sv).append(zone_);
    }

    void PutId(std::uint64_t owner) {
        const CivilTime c = ToCivil(gen_.PlanAt(owner).time);
        out_.push_back('<');
        PutUint(out_, c.year, 4);
        for (int v : {c.month, c.day, c.hour, c.minute, c.second}) {
            PutUint(out_, static_cast<std::uint64_t>(v), 2);
        }
        out_.push_back('.');
        const std::uint64_t h = gen_.Stream(6, owner);
        PutHex(out_, h, 8);
        out_.append("@"sv).append(kDomains[(h >> 40) % std::size(kDomains)]).append(">"sv);
    }

    void PutSender(const Person& p) {
        const std::uint32_t style = rng_.Below(100);
        if (style < 55) {
            out_.append(p.surname).append(" "sv).append(p.given);
            out_.append(" <"sv).append(p.address).append(">"sv);
        } else if (style < 70) {
            out_.append(p.address).append(" ("sv).append(p.surname).append(" "sv);
            out_.append(p.given).append(")"sv);
        } else if (style < 85) {
            out_.append("\""sv).append(p.surname).append(" "sv).append(p.given);
            out_.append("\" <"sv).append(p.address).append(">"sv);
        } else if (style < 95) {
            out_.append(p.address);
        } else {
            out_.append("=?ISO-2022-JP?B?"sv);
            PutBase64(out_, rng_, 4 * rng_.Between(3, 6));
            out_.append("?= <"sv).append(p.address).append(">"sv);
        }
    }

    void Received(std::int64_t t) {
        const std::string_view relay = rng_.Pick(kRelays);
        out_.append("Received: from "sv).append(relay).append(" ("sv).append(relay);
        out_.append(" ["sv).append(rng_.Pick(kNets));
        PutUint(out_, rng_.Between(1, 254));
        Line("])"sv);
        out_.append("\tby "sv).append(rng_.Pick(kRelays)).append(" (8.9.3/3.7W) with ESMTP id "sv);
        PutHex(out_, rng_.Next(), 12);
        Eol();
        out_.append("\tfor <"sv).append(to_.address).append(">; "sv);
        PutDate(t, true, false);
        Eol();
    }

    void Header() {
        const std::int64_t received = plan_.time + rng_.Below(600);
        out_.append("From - "sv);
        PutStartDate(out_, received);
        Eol();
        Line("X-EKMail-Status: "sv, rng_.Percent(90) ? "0001"sv : "0000"sv);
        Line("Return-Path: <"sv, self_.address, ">"sv);
        for (std::uint32_t k = rng_.Between(1, 3); k > 0; --k) {
            Received(received);
        }
        if (!rng_.PerMille(20)) {
            out_.append("Date: "sv);
            const bool weekday = !rng_.Percent(5);
            PutDate(plan_.time, weekday, rng_.PerMille(30));
            Eol();
        }
        out_.append("From: "sv);
        PutSender(self_);
        Eol();
        out_.append("To: "sv);
        PutSender(to_);
        Eol();
        if (rng_.Percent(25)) {
            const Person cc = gen_.PersonAt(rng_.Below(kPeople));
            out_.append("Cc: "sv);
            PutSender(cc);
            Eol();
        }
        SubjectLine();
        if (plan_.hasId) {
            out_.append(rng_.Percent(20) ? "Message-ID: "sv : "Message-Id: "sv);
            PutId(plan_.idOwner);
            Eol();
        }
        if (plan_.parent >= 0) {
            const auto parent = static_cast<std::uint64_t>(plan_.parent);
            out_.append("In-Reply-To: "sv);
            PutId(parent);
            if (rng_.Percent(2)) {
                out_.append(" (message from "sv).append(to_.address).append(")"sv);
            }
            Eol();
            out_.append("References: "sv);
            PutId(parent);
            Eol();
        }
        Line("MIME-Version: 1.0"sv);
        multipart_ = rng_.Percent(10);
        if (multipart_) {
            MultipartType();
        } else if (rng_.Percent(85)) {
            const std::string_view charset =
                rng_.Percent(70) ? "charset=\"Shift_JIS\""sv : "charset=ISO-2022-JP"sv;
            if (rng_.Percent(10)) {
                Line("Content-Type: text/plain;"sv);
                Line("\t"sv, charset);
            } else {
                Line("Content-Type: text/plain; "sv, charset);
            }
            Line("Content-Transfer-Encoding: 8bit"sv);
        }
        Line("X-Mailer: "sv, rng_.Pick(kMailers));
        Eol();
    }

    void SubjectLine() {
        const std::uint64_t root = gen_.RootOf(index_);
        const Subject s = gen_.SubjectOf(root);
        out_.append("Subject: "sv);
        if (root != index_) {
            out_.append(rng_.Percent(85) ? "Re: "sv : "RE: "sv);
        }
        if (s.text.size() > 40 && rng_.Percent(30)) {
            out_.append(std::string_view(s.text).substr(0, s.fold));
            Eol();
            Line(" "sv, std::string_view(s.text).substr(s.fold));
        } else {
            Line(s.text);
        }
    }

    void MultipartType() {
        boundary_.clear();
        const std::uint32_t style = rng_.Below(10);
        if (style < 3) {
            boundary_.append("=_"sv);
            PutHex(boundary_, rng_.Next(), 16);
            Line("Content-Type: multipart/mixed; boundary="sv, boundary_);
            return;
        }
        if (rng_.Percent(50)) {
            boundary_.append("------------"sv);
            PutHex(boundary_, rng_.Next(), 12);
        } else {
            boundary_.append("----=_NextPart_000_"sv);
            PutHex(boundary_, rng_.Next(), 4);
            boundary_.push_back('_');
            PutHex(boundary_, rng_.Next(), 8);
            boundary_.push_back('.');
            PutHex(boundary_, rng_.Next(), 8);
        }
        if (style < 6) {
            Line("Content-Type: multipart/mixed;"sv);
            Line("\tboundary=\""sv, boundary_, "\""sv);
        } else {
            Line("Content-Type: multipart/mixed; boundary=\""sv, boundary_, "\""sv);
        }
    }

    void Body() {
        if (multipart_) {
            Line("This is a multi-part message in MIME format."sv);
            Eol();
            Line("--"sv, boundary_);
            Line("Content-Type: text/plain; charset=\"Shift_JIS\""sv);
            Line("Content-Transfer-Encoding: 8bit"sv);
            Eol();
            Text();
            Eol();
            Attachment();
            Line("--"sv, boundary_, "--"sv);
        } else {
            Text();
        }
        Eol();
    }

    void Attachment() {
        const std::string_view file = rng_.Pick(kFiles);
        Line("--"sv, boundary_);
        Line("Content-Type: application/octet-stream; name=\""sv, file, "\""sv);
        Line("Content-Transfer-Encoding: base64"sv);
        Line("Content-Disposition: attachment; filename=\""sv, file, "\""sv);
        Eol();
        for (std::uint32_t lines = rng_.Between(10, 400); lines > 0; --lines) {
            PutBase64(out_, rng_, 76);
            Eol();
        }
        Eol();
    }

    void Sentence(Filler& f) {
        for (std::uint32_t k = rng_.Below(4); k > 0; --k) {
            f.Word(rng_.Pick(kNouns));
            f.Word(rng_.Pick(kParticles));
        }
        if (rng_.Percent(15)) {
            word_.clear();
            PutUint(word_, rng_.Between(1, 31));
            word_.append(rng_.Pick(kCounters)).append(kOf);
            f.Word(word_);
        }
        f.Word(rng_.Pick(kNouns));
        f.Word(rng_.Pick(kPredicates));
    }

    void Paragraph(std::string_view prefix, std::uint32_t sentences) {
        const bool linePerSentence = rng_.Percent(50);
        Filler f(*this, prefix, rng_.Between(56, 76));
        for (; sentences > 0; --sentences) {
            Sentence(f);
            if (linePerSentence) {
                f.Break();
            }
        }
    }

    void EnglishParagraph() {
        Filler f(*this, ""sv, 72);
        for (std::uint32_t words = rng_.Between(8, 60); words > 0; --words) {
            f.Word(rng_.Pick(kEnglish), true);
        }
        f.Word("."sv);
    }

    void Url() {
        out_.append(rng_.Percent(10) ? "https://www."sv : "http://www."sv);
        out_.append(rng_.Pick(kDomains)).append("/"sv);
        out_.append(rng_.Pick(kPaths)).append("/"sv);
        if (rng_.Percent(60)) {
            PutUint(out_, rng_.Between(1, 9999), 4);
            out_.append(".html"sv);
        }
    }

    void Quote() {
        if (rng_.Percent(50)) {
            Line(to_.surname, kWrote);
        }
        const std::uint32_t kind = rng_.Below(10);
        const std::string_view mark = kind < 7 ? "> "sv : kind < 8 ? ">"sv : rng_.Pick(kQuoteMarks);
        if (rng_.Percent(30)) {
            const std::string nested = std::string(mark) + std::string(mark);
            Paragraph(nested, rng_.Between(1, 3));
        }
        Paragraph(mark, rng_.Between(1, 8));
        Eol();
    }

    void Text() {
        if (plan_.parent >= 0) {
            Line(to_.surname, rng_.Percent(50) ? kSan : kSama);
        } else {
            const std::uint32_t kind = rng_.Below(10);
            if (kind < 5) {
                Line(to_.surname, kSama);
            } else {
                Line(kind < 8 ? kAll : kEveryone);
            }
        }
        Eol();
        Line(rng_.Pick(kGreetings), self_.surname, kDesu);
        Eol();
        if (plan_.parent >= 0) {
            Quote();
        }
        for (std::uint32_t k = rng_.Between(4, 12); k > 0; --k) {
            if (rng_.Percent(8)) {
                EnglishParagraph();
            } else {
                Paragraph(""sv, rng_.Between(1, 6));
            }
            Extras();
            Eol();
        }
        if (rng_.PerMille(3)) {
            CopiedStart();
        }
        if (rng_.Below(2000) == 0) {
            LongLine(1024 * rng_.Between(10, 100));
            Eol();
        }
        Line(rng_.Pick(kClosings));
        Eol();
        Signature();
    }

    // The occasional web address or mail address after a paragraph.
    void Extras() {
        if (rng_.Percent(12)) {
            Line(kSeeAlso);
            Url();
            Eol();
        }
        if (rng_.Percent(6)) {
            out_.append(kContact).append(" "sv).append(self_.address);
            Eol();
        }
    }

    // A copied message-start line; the line after it is no status line, so it opens nothing.
    void CopiedStart() {
        Line(kForwarded);
        out_.append("From - "sv);
        PutStartDate(out_, plan_.time - 86400);
        Eol();
        Line("Subject: "sv, gen_.SubjectOf(index_).text);
        Eol();
    }

    void LongLine(std::size_t bytes) {
        const std::size_t end = out_.size() + bytes;
        while (out_.size() < end) {
            out_.append(rng_.Pick(kNouns));
            out_.append(rng_.Pick(kParticles));
            out_.append(rng_.Pick(kNouns));
            out_.append(rng_.Pick(kPredicates));
        }
        Eol();
    }

    void Signature() {
        Line(rng_.Percent(50) ? "-- "sv : rng_.Pick(kSignRules));
        Line(self_.surname, " "sv, self_.given);
        if (rng_.Percent(50)) {
            Line(rng_.Pick(kCompanies));
        }
        Line("E-mail: "sv, self_.address);
        if (rng_.Percent(30)) {
            Url();
            Eol();
        }
        if (rng_.Percent(40)) {
            out_.append(kPhone).append(": 03-"sv);
            PutUint(out_, rng_.Below(10000), 4);
            out_.push_back('-');
            PutUint(out_, rng_.Below(10000), 4);
            Eol();
        }
    }

    const MailGenerator& gen_;
    std::uint64_t index_;
    std::string& out_;
    Rng rng_;
    Plan plan_;
    std::string_view eol_;
    std::string_view zone_;
    Person self_;
    Person to_;
    bool multipart_ = false;
    std::string boundary_;
    std::string word_;
};

void MailGenerator::AppendMessage(std::uint64_t index, std::string& out) const {
    Writer(*this, index, out).Write();
}

}  // namespace ek::gen
