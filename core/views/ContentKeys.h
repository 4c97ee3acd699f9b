// What the text pane does with the keys the user reads with, decided apart from
// any toolkit: the window code maps its key codes to ReadingKey and carries out
// the action.
#pragma once

namespace ek {

enum class ReadingKey { Other, Enter, Space, Up, Down, K, J };

enum class ReadingAction { None, ReturnToList, PageDown, LineUp, LineDown };

// Enter returns to the list, Space pages down, Ctrl+Up or K and Ctrl+Down or J
// scroll one line; K and J act whatever modifier is held.
ReadingAction ActionForKey(ReadingKey key, bool ctrlDown);

// Whether a character event would type text: the pane discards those and lets
// every other character event (arrows, Tab, control characters) through.
bool IsTypedCharacter(char32_t unicode);

// Whether a key press would type its character: the pane keeps such presses from
// the control, whose input method would otherwise bring the caret back into view.
bool IsTypingKey(char32_t unicode, bool ctrlDown, bool altDown);

// After Space paged down: the next message is due when the page did not move, or
// when the first visible line is the last line.
bool IsNextMessageDue(bool scrolled, long firstVisibleLine, long lineCount);

}  // namespace ek
