#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/platform/MemoryProfileStore.h"
#include "shell/ColorCommand.h"

namespace ek {
namespace {

constexpr settings::ColorRef kGray = settings::MakeColor(0x80, 0x80, 0x80);
constexpr settings::ColorRef kRed = settings::MakeColor(0xFF, 0, 0);
constexpr settings::ColorRef kBlue = settings::MakeColor(0, 0, 0xFF);

// A memory profile that logs every access as "read Key" or "write Key".
class LoggingProfile : public MemoryProfileStore {
  public:
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const override {
        log.push_back("read " + key);
        return MemoryProfileStore::GetProfileString(section, key, defaultValue);
    }
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override {
        log.push_back("write " + key);
        return MemoryProfileStore::WriteProfileString(section, key, value);
    }
    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) const override {
        log.push_back("read " + key);
        return MemoryProfileStore::GetProfileInt(section, key, defaultValue);
    }
    bool WriteProfileInt(const std::string& section, const std::string& key, int value) override {
        log.push_back("write " + key);
        return MemoryProfileStore::WriteProfileInt(section, key, value);
    }
    bool Flush() override {
        log.push_back("flush");
        return true;
    }

    mutable std::vector<std::string> log;
};

class FakeContentPane : public CContentPane {
  public:
    void OnInitialUpdate() override {}
    wxWindow* GetPaneWindow() override { return nullptr; }
    void ShowMessage(int index) override { shown.push_back(index); }
    void SetQuoteSettings(const QuoteSettings& settings) override {
        quote = settings;
        ++handed;
    }

    std::vector<int> shown;
    QuoteSettings quote;
    int handed = 0;
};

// Shows what it was given, then ends with OK after its edit, or with Cancel.
class FakeDialog : public QuoteColorDialogUi {
  public:
    bool DoModal(QuoteSettings& values) override {
        shown = values;
        if (!ok) {
            values.quote = "discarded";
            return false;
        }
        values.quote = "> ｜ ";
        values.quoteColor = kRed;
        values.httpColor = kBlue;
        return true;
    }

    bool ok = true;
    QuoteSettings shown;
};

class ColorCommandTest : public ::testing::Test {
  protected:
    LoggingProfile profile;
    FakeContentPane content;
    FakeDialog dialog;
};

TEST_F(ColorCommandTest, AFreshProfileShowsNoMarksAndTheGrayTextColour) {
    QuoteSettings values = LoadQuoteSettings(profile, kGray);
    EXPECT_EQ(values.quote, "");
    EXPECT_EQ(values.quoteColor, kGray);
    EXPECT_EQ(values.mailColor, kGray);
    EXPECT_EQ(values.httpColor, kGray);
    EXPECT_EQ(profile.log, (std::vector<std::string>{"read Quote", "read QuoteClr", "read MailClr",
                                                     "read HttpClr"}));
}

TEST_F(ColorCommandTest, OkWritesTheFourValuesAndHandsThemToTheTextPane) {
    profile.WriteProfileInt("Settings", "MailClr", static_cast<int>(kBlue));
    profile.log.clear();
    ColorCommandTarget target{&content, false, 3};
    ASSERT_TRUE(RunColorCommand(profile, kGray, dialog, target));

    EXPECT_EQ(dialog.shown.mailColor, kBlue) << "the dialog starts from the profile";
    EXPECT_EQ(dialog.shown.quoteColor, kGray);
    EXPECT_EQ(profile.log,
              (std::vector<std::string>{"read Quote", "read QuoteClr", "read MailClr",
                                        "read HttpClr", "write Quote", "write QuoteClr",
                                        "write MailClr", "write HttpClr", "flush"}))
        << "the values are saved at once, not only at exit";
    EXPECT_EQ(profile.GetProfileString("Settings", "Quote", "?"), "> ｜ ") << "stored as typed";
    EXPECT_EQ(profile.GetProfileInt("Settings", "QuoteClr", 0), static_cast<int>(kRed));
    EXPECT_EQ(profile.GetProfileInt("Settings", "MailClr", 0), static_cast<int>(kBlue));
    EXPECT_EQ(profile.GetProfileInt("Settings", "HttpClr", 0), static_cast<int>(kBlue));
    EXPECT_EQ(content.handed, 1);
    EXPECT_EQ(content.quote.quote, "> ｜ ");
    EXPECT_EQ(content.quote.quoteColor, kRed);
    EXPECT_TRUE(content.shown.empty()) << "a hidden text pane shows nothing now";
}

TEST_F(ColorCommandTest, AVisibleTextPaneShowsTheCurrentMessageAgain) {
    ColorCommandTarget target{&content, true, 7};
    ASSERT_TRUE(RunColorCommand(profile, kGray, dialog, target));
    EXPECT_EQ(content.shown, std::vector<int>{7});
}

TEST_F(ColorCommandTest, CancelChangesNothing) {
    profile.WriteProfileString("Settings", "Quote", ">");
    profile.log.clear();
    dialog.ok = false;
    ColorCommandTarget target{&content, true, 2};
    EXPECT_FALSE(RunColorCommand(profile, kGray, dialog, target));
    for (const std::string& entry : profile.log) {
        EXPECT_EQ(entry.rfind("read ", 0), 0u) << "neither written nor saved: " << entry;
    }
    EXPECT_EQ(profile.GetProfileString("Settings", "Quote", "?"), ">");
    EXPECT_FALSE(profile.HasValue("Settings", "QuoteClr"));
    EXPECT_EQ(content.handed, 0);
    EXPECT_TRUE(content.shown.empty());
}

TEST_F(ColorCommandTest, WithoutATextPaneOnlyTheProfileChanges) {
    ColorCommandTarget target{nullptr, true, 0};
    ASSERT_TRUE(RunColorCommand(profile, kGray, dialog, target));
    EXPECT_EQ(profile.GetProfileInt("Settings", "QuoteClr", 0), static_cast<int>(kRed));
}

}  // namespace
}  // namespace ek
