// The GUI tests' main: starts wxWidgets on the DISPLAY (Xvfb) once, with a
// temporary HOME and XDG_CONFIG_HOME, and turns wx assertions and logged errors
// into test failures instead of dialogs. Listing the tests needs no display.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "GuiTestSupport.h"

namespace ek::test {

// Outside the unnamed namespace: the wxGetApp() that wxIMPLEMENT_APP_NO_MAIN defines
// for the class would be local there, and unused.
class TestApp : public wxApp {
  public:
    bool OnInit() override { return true; }
};

}  // namespace ek::test

namespace {

bool g_haveDisplay = false;

class FailingLog : public wxLog {
  protected:
    void DoLogRecord(wxLogLevel level, const wxString& message, const wxLogRecordInfo&) override {
        std::fprintf(stderr, "wx log: %s\n", message.utf8_str().data());
        if (level <= wxLOG_Warning) {
            ADD_FAILURE() << "wxWidgets logged: " << message.utf8_str().data();
        }
    }
};

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& message) {
    std::fprintf(stderr, "wx assertion %s in %s: %s\n", cond.utf8_str().data(),
                 func.utf8_str().data(), message.utf8_str().data());
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "wxWidgets assertion " << cond.utf8_str().data() << ": " << message.utf8_str().data();
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ek::test::TestApp);

namespace ek::test {
bool HaveDisplay() {
    return g_haveDisplay;
}
}  // namespace ek::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const char* display = std::getenv("DISPLAY");
    bool listing = ::testing::GTEST_FLAG(list_tests);
    std::string home;
    if (!listing && display != nullptr && *display != '\0') {
        // Nothing of the user's own profile is read or written.
        home = (std::filesystem::temp_directory_path() / "ekview-gui-home-XXXXXX").string();
        if (::mkdtemp(home.data()) == nullptr) {
            std::fprintf(stderr, "cannot make a temporary HOME\n");
            return 1;
        }
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        wxApp::SetInstance(new ek::test::TestApp);
        int wxArgc = 1;
        char* wxArgv[] = {argv[0], nullptr};
        if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
            std::fprintf(stderr, "cannot start wxWidgets on DISPLAY=%s\n", display);
            return 1;
        }
        wxInitAllImageHandlers();
        delete wxLog::SetActiveTarget(new FailingLog);
        wxSetAssertHandler(FailOnAssert);
        g_haveDisplay = true;
    }
    int result = RUN_ALL_TESTS();
    if (g_haveDisplay) {
        wxEntryCleanup();
        std::error_code error;
        std::filesystem::remove_all(home, error);
    }
    return result;
}
