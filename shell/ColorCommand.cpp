#include "shell/ColorCommand.h"

namespace ek {

QuoteSettings LoadQuoteSettings(const ProfileStore& profile, settings::ColorRef grayText) {
    QuoteSettings values;
    values.quote = settings::Read(profile, settings::kQuote);
    values.quoteColor = settings::ReadColor(profile, settings::kQuoteClr, grayText);
    values.mailColor = settings::ReadColor(profile, settings::kMailClr, grayText);
    values.httpColor = settings::ReadColor(profile, settings::kHttpClr, grayText);
    return values;
}

void SaveQuoteSettings(ProfileStore& profile, const QuoteSettings& values) {
    settings::Write(profile, settings::kQuote, values.quote);
    settings::WriteColor(profile, settings::kQuoteClr, values.quoteColor);
    settings::WriteColor(profile, settings::kMailClr, values.mailColor);
    settings::WriteColor(profile, settings::kHttpClr, values.httpColor);
}

bool RunColorCommand(ProfileStore& profile, settings::ColorRef grayText, QuoteColorDialogUi& dialog,
                     const ColorCommandTarget& target) {
    QuoteSettings values = LoadQuoteSettings(profile, grayText);
    if (!dialog.DoModal(values)) {
        return false;
    }
    SaveQuoteSettings(profile, values);
    // What the user set is on disk at once: a session that ends without a clean
    // exit must not take it along.
    profile.Flush();
    if (target.content != nullptr) {
        target.content->SetQuoteSettings(values);
        if (target.contentShown) {
            target.content->ShowMessage(target.current);
        }
    }
    return true;
}

}  // namespace ek
