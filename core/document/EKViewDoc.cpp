#include "core/document/EKViewDoc.h"

#include <array>
#include <cstdint>
#include <utility>

#include "core/document/TextRules.h"
#include "core/platform/FileMapping.h"
#include "core/platform/ProgressDlg.h"
#include "core/platform/ReadOnlyFile.h"

namespace ek {

namespace {

constexpr std::string_view kStartPrefix = "From - ";
constexpr std::string_view kStatusPrefix = "X-EKMail-Status: ";
constexpr std::size_t kStartDateLength = kStartLineLength - kStartPrefix.size();
// What a mapped read reports when the file was cut short while it was read.
constexpr const char* kFileShrank = "the file was cut short while it was read";

constexpr std::array<std::string_view, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed",
                                                       "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Positions of the twelve digits in "Sun Jan 02 15:04:05 2000".
constexpr std::array<std::size_t, 12> kDigitPositions = {8,  9,  11, 12, 14, 15,
                                                         17, 18, 20, 21, 22, 23};

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& names) {
    for (std::string_view name : names) {
        if (EqualsIgnoringAsciiCase(text, name)) {
            return true;
        }
    }
    return false;
}

// A stored line without its final LF.
std::string_view WithoutLf(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

CEKViewDoc::CEKViewDoc() = default;
CEKViewDoc::~CEKViewDoc() = default;

bool CEKViewDoc::IsStartDate(std::string_view text) {
    if (text.size() != kStartDateLength) {
        return false;
    }
    if (!IsOneOf(text.substr(0, 3), kWeekdays) || !IsOneOf(text.substr(4, 3), kMonthNames)) {
        return false;
    }
    for (std::size_t position : kDigitPositions) {
        if (text[position] < '0' || text[position] > '9') {
            return false;
        }
    }
    return true;
}

bool CEKViewDoc::IsMessageStart(std::string_view line) {
    return line.size() == kStartLineLength && line.substr(0, kStartPrefix.size()) == kStartPrefix &&
           IsStartDate(line.substr(kStartPrefix.size()));
}

bool CEKViewDoc::IsStatusLine(std::string_view line) {
    return line.substr(0, kStatusPrefix.size()) == kStatusPrefix;
}

ReadResult CEKViewDoc::ReadMailFile() {
    return ReadWith([this](CProgressDlg& progress, MailboxText& mailbox) -> ReadResult {
        ReadOnlyFile file;
        std::string reason;
        if (!file.Open(m_strMailFile, FileSharing::Exclusive, reason)) {
            return {ReadStatus::OpenFailed, reason};
        }
        FileMapping mapping;
        if (m_mappedRead && file.Size() <= SIZE_MAX / 2 &&
            file.Map(mapping, MappedReadSlack(static_cast<std::size_t>(file.Size())))) {
            const std::size_t mapped = mapping.size();
            ReadResult result = ReadMappedMailbox(std::move(mapping), progress, mailbox);
            if (result.status == ReadStatus::Ok &&
                (mailbox.text.LostPages() || file.ShrankBelow(mapped))) {
                return {ReadStatus::ReadError, kFileShrank};
            }
            return result;
        }
        ByteSource source = [&file](char* buffer, std::size_t count, std::string& why) {
            return file.Read(buffer, count, why);
        };
        return ReadMailbox(source, file.Size(), progress, mailbox);
    });
}

ReadResult CEKViewDoc::ReadMailBytes(std::string_view bytes) {
    return ReadWith([bytes](CProgressDlg& progress, MailboxText& mailbox) {
        return ReadMailboxBytes(bytes, progress, mailbox);
    });
}

ReadResult CEKViewDoc::ReadWith(const Reading& read) {
    if (m_strPathName.empty()) {
        return {ReadStatus::NoPath, {}};
    }
    ClearMessages();
    CProgressDlg progress(m_progressUi);
    progress.Create();
    progress.SetWindowText("ファイル読込中...");
    MailboxText mailbox;
    ReadResult result = read(progress, mailbox);
    m_text = std::move(mailbox.text);
    m_textSize = mailbox.size;
    m_messages = std::move(mailbox.messages);
    if (result.status != ReadStatus::Ok) {
        // A read error keeps the messages completed before it, in file order.
        return result;
    }
    if (m_messages.empty()) {
        ClearMessages();
        return {ReadStatus::NoMessages, {}};
    }
    SortByDateKey(progress);
    return {};
}

void CEKViewDoc::ClearMessages() {
    m_messages.clear();
    m_messages.shrink_to_fit();
    m_text.reset();
    m_textSize = 0;
}

LineRange CEKViewDoc::MessageLines(int index) const {
    if (index < 0 || index >= GetMessageCount()) {
        return {};
    }
    const MessageSpan& span = m_messages[static_cast<std::size_t>(index)];
    return LineRange(std::string_view(m_text.get() + span.offset, span.length));
}

std::string CEKViewDoc::GetHeaderValue(int index, std::string_view prefix) const {
    return std::string(HeaderView(index, prefix));
}

bool CEKViewDoc::HasMboxFromLines(int index) const {
    return index >= 0 && index < GetMessageCount() &&
           m_messages[static_cast<std::size_t>(index)].fromLines;
}

std::string_view CEKViewDoc::HeaderView(int index, std::string_view prefix) const {
    if (index < 0 || index >= GetMessageCount()) {
        return {};
    }
    const MessageSpan& span = m_messages[static_cast<std::size_t>(index)];
    for (std::size_t k = 0; k < kIndexedPrefixes.size(); ++k) {
        if (!EqualsIgnoringAsciiCase(prefix, kIndexedPrefixes[k])) {
            continue;
        }
        std::uint32_t at = span.firstLine[k];
        if (at == kPrefixAbsent) {
            return {};
        }
        if (at != kPrefixUnknown) {
            std::string_view line =
                *LineRange(std::string_view(m_text.get() + span.offset + at, span.length - at))
                     .begin();
            return WithoutLf(line).substr(prefix.size());
        }
    }
    for (std::string_view line : MessageLines(index)) {
        if (StartsWithIgnoringAsciiCase(line, prefix)) {
            return WithoutLf(line).substr(prefix.size());
        }
    }
    return {};
}

void CEKViewDoc::PrefetchHeader(int index) const {
    if (index < 0 || index >= GetMessageCount()) {
        return;
    }
#if defined(__GNUC__)
    const MessageSpan& span = m_messages[static_cast<std::size_t>(index)];
    for (std::uint32_t at : span.firstLine) {
        if (at < kPrefixUnknown) {
            __builtin_prefetch(m_text.get() + span.offset + at);
        }
    }
#endif
}

void CEKViewDoc::PrefetchLine(int index, Prefetched line) const {
    if (index < 0 || index >= GetMessageCount()) {
        return;
    }
#if defined(__GNUC__)
    const MessageSpan& span = m_messages[static_cast<std::size_t>(index)];
    std::uint32_t at = 0;
    if (line == Prefetched::DateLine) {
        at = span.firstLine[kDateSlot];
        if (at >= kPrefixUnknown) {
            return;
        }
    }
    __builtin_prefetch(m_text.get() + span.offset + at);
#else
    (void)line;
#endif
}

// The row's strings keep their storage from one row to the next.
bool CEKViewDoc::GetListRow(int index, std::vector<std::string>& row) const {
    row.resize(3);
    NormalizeDate(HeaderView(index, "Date: "), row[0]);
    AssignSenderName(HeaderView(index, "From: "), row[1]);
    row[2].assign(HeaderView(index, "Subject: "));
    return true;
}

ReadResult CEKViewDoc::OnOpenDocument(const std::string& path) {
    ReadOnlyFile file;
    std::string reason;
    if (!file.Open(path, FileSharing::ReadersOnly, reason)) {
        return {ReadStatus::OpenFailed, reason};
    }
    m_strMailFile = path;
    return {};
}

ReadResult CEKViewDoc::OpenMailFile(const std::string& path) {
    ReadResult opened = OnOpenDocument(path);
    if (!opened) {
        return opened;
    }
    m_strPathName = path;
    return ReadMailFile();
}

bool CEKViewDoc::OnNewDocument() {
    m_strPathName.clear();
    return true;
}

bool CEKViewDoc::OnSaveDocument(const std::string& /*path*/) const {
    return false;
}

void CEKViewDoc::OnCloseDocument() {
    ClearMessages();
    m_strPathName.clear();
}

}  // namespace ek
