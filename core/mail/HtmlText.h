// An HTML body as the plain text a reader is shown when a message has no text part:
// paragraphs and line breaks kept, links followed by their address, scripts and
// styles left out, character references resolved.
#pragma once

#include <string>
#include <string_view>

namespace ek::mail {

// `html` and the result are UTF-8.
std::string HtmlToText(std::string_view html);

}  // namespace ek::mail
