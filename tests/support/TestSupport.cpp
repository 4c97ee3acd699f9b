#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <utility>

#include "core/platform/NativePath.h"

namespace ek::test {

namespace {

class FakeProgressWindow : public ProgressWindow {
  public:
    FakeProgressWindow(ProgressLog& log, FakeProgressUi& ui, CProgressDlg& dialog)
        : m_log(log), m_ui(ui), m_dialog(dialog) {
        ++m_log.windowsCreated;
    }
    ~FakeProgressWindow() override { ++m_log.windowsDestroyed; }
    void SetCaption(const std::string& utf8) override { m_log.captions.push_back(utf8); }
    void SetBarRange(int, int) override {}
    int SetBarPosition(int position) override {
        m_log.positions.push_back(position);
        return std::exchange(m_position, position);
    }
    std::string GetPercentText() const override { return m_text; }
    void SetPercentText(const std::string& text) override {
        m_text = text;
        m_log.percentTexts.push_back(text);
    }
    void PumpPendingMessages() override {
        ++m_log.pumps;
        if (m_ui.onPump) {
            m_ui.onPump(m_dialog, m_log.pumps);
        }
    }

  private:
    ProgressLog& m_log;
    FakeProgressUi& m_ui;
    CProgressDlg& m_dialog;
    int m_position = 0;
    std::string m_text = CProgressDlg::kInitialPercentText;
};

}  // namespace

std::unique_ptr<ProgressWindow> FakeProgressUi::CreateProgressWindow(CProgressDlg& dialog) {
    if (failCreate) {
        return nullptr;
    }
    return std::make_unique<FakeProgressWindow>(m_log, *this, dialog);
}

std::string Lines(std::initializer_list<std::string> lines, const std::string& eol) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += eol;
    }
    return text;
}

std::string Message(std::initializer_list<std::string> header,
                    std::initializer_list<std::string> body) {
    std::string text = kStart + "\n" + kStatus + "\n";
    for (const std::string& line : header) {
        text += line + "\n";
    }
    text += "\n";
    for (const std::string& line : body) {
        text += line + "\n";
    }
    return text;
}

ReadResult ReadInto(CEKViewDoc& doc, const std::string& bytes) {
    doc.SetPathName("mem.mbx");
    return doc.ReadMailBytes(bytes);
}

std::vector<std::vector<std::string>> StoredMessages(const CEKViewDoc& doc) {
    std::vector<std::vector<std::string>> messages;
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        std::vector<std::string> lines;
        for (std::string_view line : doc.MessageLines(i)) {
            lines.emplace_back(line);
        }
        messages.push_back(std::move(lines));
    }
    return messages;
}

TempDir::TempDir() {
    // A new folder of our own, as mkdtemp makes one, on every system.
    static std::mt19937_64 random{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; m_path.empty(); ++attempt) {
        if (attempt == 100) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        const std::filesystem::path dir = base / ("ekview-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(dir, error)) {
            m_path = PathBytes(dir);
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(NativePath(m_path), ignored);
}

TempFile::TempFile(const std::string& bytes, const std::string& name) : m_path(m_dir.File(name)) {
    WriteFile(m_path, bytes);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadFile(const std::string& path) {
    return ReadFile(NativePath(path));
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void LinkTo(const std::string& target, const std::filesystem::path& link) {
    std::error_code error;
    std::filesystem::create_symlink(NativePath(target), link, error);
#ifdef _WIN32
    if (error) {
        std::filesystem::create_hard_link(NativePath(target), link, error);
    }
#endif
}

}  // namespace ek::test
