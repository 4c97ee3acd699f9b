// Cutting a multipart message's display lines down to the text of its first part,
// and joining display lines into the text the pane shows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ek {

// "(添付ファイルがあります)" in CP932; appended without a line feed.
inline constexpr std::string_view kAttachmentNote{
    "(\x93\x59\x95\x74\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb7)"};

// Index of the first line whose first byte is a line feed (the blank line that ends
// the header); lines.size() when there is none.
std::size_t FindHeaderEnd(const std::vector<std::string>& lines);
std::size_t FindHeaderEndOfViews(const std::vector<std::string_view>& lines);

// Removes the preamble, the first delimiter line and the first part's header, then
// everything from the next line that begins with `delimiter`, which is replaced by
// kAttachmentNote. True when the note was appended. An empty delimiter changes nothing.
bool CutToFirstPart(std::vector<std::string>& lines, std::string_view delimiter);
// The same cut of lines that view the text they stand for.
bool CutToFirstPart(std::vector<std::string_view>& lines, std::string_view delimiter);

// The lines one after another, with nothing between them.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace ek
