#include "core/views/ContentKeys.h"

namespace ek {

ReadingAction ActionForKey(ReadingKey key, bool ctrlDown) {
    switch (key) {
        case ReadingKey::Enter:
            return ReadingAction::ReturnToList;
        case ReadingKey::Space:
            return ReadingAction::PageDown;
        case ReadingKey::Up:
            return ctrlDown ? ReadingAction::LineUp : ReadingAction::None;
        case ReadingKey::Down:
            return ctrlDown ? ReadingAction::LineDown : ReadingAction::None;
        case ReadingKey::K:
            return ReadingAction::LineUp;
        case ReadingKey::J:
            return ReadingAction::LineDown;
        case ReadingKey::Other:
            break;
    }
    return ReadingAction::None;
}

bool IsTypedCharacter(char32_t unicode) {
    return unicode >= 0x20 && unicode != 0x7F && !(unicode >= 0x80 && unicode < 0xA0);
}

bool IsTypingKey(char32_t unicode, bool ctrlDown, bool altDown) {
    return !ctrlDown && !altDown && IsTypedCharacter(unicode);
}

bool IsNextMessageDue(bool scrolled, long firstVisibleLine, long lineCount) {
    return !scrolled || firstVisibleLine >= lineCount - 1;
}

}  // namespace ek
