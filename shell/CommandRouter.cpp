#include "shell/CommandRouter.h"

namespace ek {

bool CCmdTarget::OnCommand(int id) {
    const CommandHandler* handler = FindCommand(id);
    if (handler == nullptr) {
        return false;
    }
    // The handler may change this target's tables; run a copy.
    CommandHandler run = *handler;
    run(id);
    return true;
}

bool CCmdTarget::OnUpdateCommand(CCmdUI& cmdUI) {
    const UpdateHandler* handler = FindUpdate(cmdUI.GetID());
    if (handler == nullptr) {
        return false;
    }
    (*handler)(cmdUI);
    return true;
}

void CCmdTarget::MapCommand(int id, std::function<void()> handler) {
    m_commands.push_back({id, id, [handler = std::move(handler)](int) { handler(); }});
}

void CCmdTarget::MapCommandRange(int first, int last, CommandHandler handler) {
    m_commands.push_back({first, last, std::move(handler)});
}

void CCmdTarget::MapUpdate(int id, UpdateHandler handler) {
    m_updates.push_back({id, id, std::move(handler)});
}

void CCmdTarget::MapUpdateRange(int first, int last, UpdateHandler handler) {
    m_updates.push_back({first, last, std::move(handler)});
}

const CCmdTarget::CommandHandler* CCmdTarget::FindCommand(int id) const {
    for (const auto& entry : m_commands) {
        if (id >= entry.first && id <= entry.last) {
            return &entry.handler;
        }
    }
    return nullptr;
}

const CCmdTarget::UpdateHandler* CCmdTarget::FindUpdate(int id) const {
    for (const auto& entry : m_updates) {
        if (id >= entry.first && id <= entry.last) {
            return &entry.handler;
        }
    }
    return nullptr;
}

CCmdUI CommandRouter::Query(int id) const {
    CCmdUI cmdUI(id);
    std::vector<CCmdTarget*> targets = m_chain();
    bool updated = false;
    for (CCmdTarget* target : targets) {
        if (target != nullptr && target->OnUpdateCommand(cmdUI)) {
            updated = true;
            break;
        }
    }
    if (!updated || !cmdUI.IsEnableChanged()) {
        bool served = false;
        for (CCmdTarget* target : targets) {
            if (target != nullptr && target->HasCommandHandler(id)) {
                served = true;
                break;
            }
        }
        cmdUI.EnableByDefault(served);
    }
    return cmdUI;
}

bool CommandRouter::Execute(int id) {
    if (!Query(id).IsEnabled()) {
        return false;
    }
    for (CCmdTarget* target : m_chain()) {
        if (target != nullptr && target->OnCommand(id)) {
            return true;
        }
    }
    return false;
}

}  // namespace ek
