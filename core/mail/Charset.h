// Turning the bytes of a mail text into UTF-8 by its charset label, the way a
// Japanese mailbox needs it: the label first, CP932 where there is no label or the
// bytes are invalid for it, U+FFFD for whatever cannot be decoded. Never fails.
#pragma once

#include <string>
#include <string_view>

namespace ek::mail {

// `label` as found in a charset parameter or an encoded word (any case, quotes and an
// RFC 2231 language suffix allowed); empty when the text has none.
std::string CharsetToUtf8(std::string_view bytes, std::string_view label);

// True when CharsetToUtf8 reads text of this label as CP932 whatever its bytes: no
// label, or one of the names of Shift-JIS and CP932.
bool IsCp932Label(std::string_view label);

// CP932 text as UTF-8, for mail: an unmapped pair whose second byte is ASCII decodes
// as U+FFFD and that ASCII character, so a stray 8-bit byte costs no letter after it.
std::string Cp932TextToUtf8(std::string_view bytes);

// ISO-2022-JP as Windows clients write it, mapped pair by pair onto the Shift-JIS
// bytes CP932 reads, so that the NEC and IBM extension characters survive. False when
// the text leaves the JIS sets this mapping knows (the caller then tries a converter).
bool Iso2022JpToCp932(std::string_view bytes, std::string& cp932);

}  // namespace ek::mail
