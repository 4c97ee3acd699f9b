// The system's font dialog, answered as a person answers it: a size with a half
// point typed into GTK's chooser, then OK. The panes keep what the rules say.
#include <glib-object.h>
#include <wx/app.h>
#include <wx/fontdlg.h>
#include <wx/modalhook.h>

#include <ostream>
#include <string>

#include "GuiTestSupport.h"
#include "gui/platform/CommonDialogs.h"
#include "gui/views/ContentView.h"
#include "gui/views/ThreadView.h"
#include "gui/views/TitleView.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

// GTK_RESPONSE_OK, which GTK's header names.
constexpr int kGtkResponseOk = -5;

// While it lives, answers each font dialog as a person does: types `description`
// ("Face 10.5") into GTK's chooser and presses OK.
class FontDialogAnswer : public wxModalDialogHook {
  public:
    explicit FontDialogAnswer(std::string description) : m_description(std::move(description)) {
        Register();
    }
    int answered = 0;

  protected:
    int Enter(wxDialog* dialog) override {
        if (auto* fonts = dynamic_cast<wxFontDialog*>(dialog)) {
            // Runs inside the dialog's own loop, once it is up.
            wxTheApp->CallAfter([this, fonts] {
                g_object_set(G_OBJECT(fonts->GetHandle()), "font", m_description.c_str(), nullptr);
                g_signal_emit_by_name(fonts->GetHandle(), "response", kGtkResponseOk);
                ++answered;
            });
        }
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}

  private:
    std::string m_description;
};

struct SizeCase {
    const char* typed;
    double points;
};

// A failing case names what was typed, not the bytes of the record.
void PrintTo(const SizeCase& c, std::ostream* out) {
    *out << '"' << c.typed << '"';
}

class FontDialogSizeTest : public ::testing::TestWithParam<SizeCase> {
  protected:
    void SetUp() override { EKVIEW_REQUIRE_DISPLAY(); }
};

TEST_P(FontDialogSizeTest, TheChosenFontHasTheSizeAsTyped) {
    const SizeCase& c = GetParam();
    SCOPED_TRACE(c.typed);
    FontDialogAnswer answer(std::string("IPAGothic ") + c.typed);
    std::optional<wxFont> chosen =
        GetCommonDialogs().ChooseFont(nullptr, wxFont(wxFontInfo(10).FaceName("IPAMincho")));
    ASSERT_EQ(answer.answered, 1);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_DOUBLE_EQ(chosen->GetFractionalPointSize(), c.points);
    EXPECT_EQ(chosen->GetFaceName(), "IPAGothic");
}

INSTANTIATE_TEST_SUITE_P(Sizes, FontDialogSizeTest,
                         ::testing::Values(SizeCase{"10.5", 10.5}, SizeCase{"12.5", 12.5},
                                           SizeCase{"9", 9.0}, SizeCase{"Bold 11.5", 11.5},
                                           SizeCase{"72", 72.0}));

// The program's panes with a file open, on a profile in a temporary folder.
class PaneRun : public ProgramRun {
  public:
    explicit PaneRun(const std::string& profilePath) : ProgramRun(MakeSetup(profilePath)) {}

    // Picks `typed` in the font dialog of the visible pane.
    void ChooseFont(const std::string& typed) {
        FontDialogAnswer answer("IPAGothic " + typed);
        EXPECT_TRUE(Frame().ExecuteCommand(ID_VIEW_FONT));
        EXPECT_EQ(answer.answered, 1) << typed;
    }

  private:
    static Setup MakeSetup(const std::string& profilePath) {
        Setup setup;
        setup.profilePath = profilePath;
        setup.args = {SamplePath()};
        setup.content = Pane::Real;
        setup.thread = Pane::Real;
        return setup;
    }
};

TEST(FontDialogTest, HalfPointsBecomeWholeTwipsInTheTextPaneAndTenthsInTheList) {
    EKVIEW_REQUIRE_DISPLAY();
    TempDir dir;
    const std::string profile = dir.File("EKView.conf");
    {
        PaneRun run(profile);
        ASSERT_TRUE(run.Started());
        run.ChooseFont("10.5");
        EXPECT_EQ(run.Frame().GetTitleView()->GetFontSize(), 105);
        EXPECT_DOUBLE_EQ(run.Frame().GetTitleView()->GetFont().GetFractionalPointSize(), 10.5);

        ASSERT_TRUE(run.Frame().ExecuteCommand(ID_VIEW_CONTENT));
        run.ChooseFont("10.5");
        EXPECT_EQ(run.ContentView().GetFontHeight(), 200) << "10.5 points are kept as 10";
        run.ChooseFont("12.5");
        EXPECT_EQ(run.ContentView().GetFontHeight(), 240);
        EXPECT_DOUBLE_EQ(run.ContentView().GetTextFont().GetFractionalPointSize(), 12.0);
    }
    const WxProfileStore saved(profile);
    EXPECT_EQ(saved.GetProfileString("Settings", "CFont", ""), "240:IPAGothic");
    EXPECT_EQ(saved.GetProfileString("Settings", "TFont", ""), "105:IPAGothic");

    // The next run shows the stored half point again, and offers it to the dialog.
    PaneRun again(profile);
    ASSERT_TRUE(again.Started());
    EXPECT_DOUBLE_EQ(again.Frame().GetTitleView()->GetFont().GetFractionalPointSize(), 10.5);
}

}  // namespace
}  // namespace ek::test
