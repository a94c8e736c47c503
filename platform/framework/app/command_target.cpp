#include "command_target.h"

bool CCommandTarget::RunCommand(UINT id) {
    const auto it = m_commands.find(id);
    if (it == m_commands.end()) {
        return false;
    }
    it->second();
    return true;
}

bool CCommandTarget::UpdateCommand(CCommandState& state) const {
    if (const auto update = m_updates.find(state.GetId()); update != m_updates.end()) {
        state.Enable(true);
        update->second(state);
        return true;
    }
    if (m_commands.contains(state.GetId())) {
        state.Enable(true);
        return true;
    }
    return false;
}

void CCommandTarget::OnCommand(UINT id, std::function<void()> handler) { m_commands[id] = std::move(handler); }

void CCommandTarget::OnUpdateCommand(UINT id, std::function<void(CCommandState&)> handler) {
    m_updates[id] = std::move(handler);
}

std::vector<UINT> CCommandTarget::CommandIds() const {
    std::vector<UINT> ids;
    ids.reserve(m_commands.size());
    for (const auto& [id, handler] : m_commands) {
        ids.push_back(id);
    }
    return ids;
}
