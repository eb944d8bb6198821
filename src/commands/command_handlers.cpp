#include "commands/command_handlers.h"

#include <algorithm>
#include <utility>

namespace tarn {

void CommandHandlers::add(int command, Test enabled, Action action) {
    add(command, std::move(enabled), nullptr, std::move(action));
}

void CommandHandlers::add(int command, Test enabled, Test checked, Action action) {
    Row row{command, std::move(enabled), std::move(checked), std::move(action)};
    const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                 [command](const Row& r) { return r.command == command; });
    if (it != m_rows.end()) {
        *it = std::move(row);
    } else {
        m_rows.push_back(std::move(row));
    }
}

const CommandHandlers::Row* CommandHandlers::find(int command) const {
    const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                 [command](const Row& r) { return r.command == command; });
    return it == m_rows.end() ? nullptr : &*it;
}

std::optional<CommandState> CommandHandlers::commandState(int command) const {
    const Row* row = find(command);
    if (row == nullptr) {
        return std::nullopt;
    }
    return CommandState{row->enabled(), row->checked ? row->checked() : false};
}

void CommandHandlers::runCommand(int command) {
    if (const Row* row = find(command)) {
        // A copy: the action may register commands, which can move the rows.
        const Action action = row->action;
        action();
    }
}

std::vector<int> CommandHandlers::handledCommands() const {
    std::vector<int> ids;
    ids.reserve(m_rows.size());
    for (const Row& r : m_rows) {
        ids.push_back(r.command);
    }
    return ids;
}

}  // namespace tarn
