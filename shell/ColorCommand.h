// The colour command apart from its windows: the quote marks and the three colours
// read from the profile, the dialog run on them, and on OK the values written back
// and handed to the text pane.
#pragma once

#include "core/platform/ProfileStore.h"
#include "shell/Panes.h"

namespace ek {

// The colour and quote dialog as the command sees it.
class QuoteColorDialogUi {
  public:
    virtual ~QuoteColorDialogUi() = default;
    // Shows the dialog filled with `values`; true when the user ended it with OK,
    // and `values` then holds what the dialog shows.
    virtual bool DoModal(QuoteSettings& values) = 0;
};

// "Quote", "QuoteClr", "MailClr", "HttpClr" in that order; a missing colour is the
// system's grey-text colour.
QuoteSettings LoadQuoteSettings(const ProfileStore& profile, settings::ColorRef grayText);
// Writes the four values in the same order.
void SaveQuoteSettings(ProfileStore& profile, const QuoteSettings& values);

// Where the command's results go.
struct ColorCommandTarget {
    CContentPane* content = nullptr;
    bool contentShown = false;
    int current = -1;
};

// Reads the profile, runs the dialog and, on OK, writes the profile (and saves it), gives the
// values to the text pane and shows the current message again when the text pane is
// visible. Cancel changes nothing. True on OK.
bool RunColorCommand(ProfileStore& profile, settings::ColorRef grayText, QuoteColorDialogUi& dialog,
                     const ColorCommandTarget& target);

}  // namespace ek
