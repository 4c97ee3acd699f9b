// Command routing of our framework layer, free of any toolkit.
//
// Every window class that serves commands is a CCmdTarget with a small table of
// command and update handlers. A command is offered to a chain of targets (the
// visible pane, the document, the frame, the application); the first target with
// an update handler decides whether it is enabled, checked and what it reads;
// without one, a command is enabled exactly when some target handles it. One gate,
// CommandRouter::Execute, drops a command that comes out disabled, whatever sent it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ek {

// What an update handler decides about one command.
class CCmdUI {
  public:
    explicit CCmdUI(int id) : m_nID(id) {}

    void Enable(bool enable = true) {
        m_bEnabled = enable;
        m_bEnableChanged = true;
    }
    void SetCheck(int check = 1) { m_nCheck = check; }
    void SetText(std::string utf8) { m_text = std::move(utf8); }

    int GetID() const { return m_nID; }
    bool IsEnabled() const { return m_bEnabled; }
    bool IsEnableChanged() const { return m_bEnableChanged; }
    // -1 while no handler said anything about the check mark.
    int GetCheck() const { return m_nCheck; }
    const std::optional<std::string>& GetText() const { return m_text; }

    // The outcome when no handler called Enable.
    void EnableByDefault(bool enable) { m_bEnabled = enable; }

  private:
    int m_nID;
    bool m_bEnabled = false;
    bool m_bEnableChanged = false;
    int m_nCheck = -1;
    std::optional<std::string> m_text;
};

class CCmdTarget {
  public:
    using CommandHandler = std::function<void(int id)>;
    using UpdateHandler = std::function<void(CCmdUI& cmdUI)>;

    virtual ~CCmdTarget() = default;

    bool HasCommandHandler(int id) const { return FindCommand(id) != nullptr; }
    // Runs the command handler; false when this target has none.
    bool OnCommand(int id);
    // Runs the update handler; false when this target has none.
    bool OnUpdateCommand(CCmdUI& cmdUI);

  protected:
    void MapCommand(int id, std::function<void()> handler);
    void MapCommandRange(int first, int last, CommandHandler handler);
    void MapUpdate(int id, UpdateHandler handler);
    void MapUpdateRange(int first, int last, UpdateHandler handler);

  private:
    template <typename Handler>
    struct Entry {
        int first;
        int last;
        Handler handler;
    };
    const CommandHandler* FindCommand(int id) const;
    const UpdateHandler* FindUpdate(int id) const;

    std::vector<Entry<CommandHandler>> m_commands;
    std::vector<Entry<UpdateHandler>> m_updates;
};

class CommandRouter {
  public:
    // The targets in the order they are offered a command; null entries are skipped.
    using Chain = std::function<std::vector<CCmdTarget*>()>;

    explicit CommandRouter(Chain chain) : m_chain(std::move(chain)) {}

    CCmdUI Query(int id) const;
    // The gate: false (and nothing done) when the command is disabled or unserved.
    bool Execute(int id);

  private:
    Chain m_chain;
};

}  // namespace ek
