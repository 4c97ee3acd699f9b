// The program's command line: at most one mailbox file, and the usual --help and
// --version. Free of any toolkit, so that both work without a display.
#pragma once

#include <string>
#include <vector>

namespace ek {

struct CommandLineInfo {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    // The mailbox to open; empty for a new, untitled document.
    std::string fileName;
    // For Error: what was wrong, in one line.
    std::string error;
};

// `args` are the arguments after the program name.
CommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

// The toolkit turns the arguments into text by the locale and drops, with a mere
// warning, those that do not convert: a Shift-JIS file name under a UTF-8 locale.
// So every argument that is not plain ASCII reaches it as an ASCII stand-in, and
// comes back from it as the bytes given. Toolkit options are ASCII and pass as they are.
class ArgumentShield {
  public:
    ArgumentShield() = default;
    // `args` are the arguments after the program name.
    explicit ArgumentShield(std::vector<std::string> args);

    // What the toolkit is given, in the same order.
    const std::vector<std::string>& ForToolkit() const { return m_forToolkit; }
    // The argument as given, for one that the toolkit passed on.
    std::string Restore(const std::string& fromToolkit) const;

  private:
    std::vector<std::string> m_given;
    std::vector<std::string> m_forToolkit;
    std::string m_tag;
};

std::string UsageText(const std::string& programName);
std::string VersionText();

}  // namespace ek
