#include "core/document/MailText.h"

#include <cstring>

namespace ek {

void LineRange::iterator::Settle() {
    if (m_at == m_end) {
        m_length = 0;
        return;
    }
    const void* lf = std::memchr(m_at, '\n', static_cast<std::size_t>(m_end - m_at));
    const char* stop = lf != nullptr ? static_cast<const char*>(lf) + 1 : m_end;
    m_length = static_cast<std::size_t>(stop - m_at);
}

}  // namespace ek
