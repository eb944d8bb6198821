#include "commands/command_router.h"

#include <algorithm>

namespace tarn {

namespace {

std::size_t slot(Receiver kind) {
    return static_cast<std::size_t>(kind);
}

}  // namespace

void CommandRouter::setReceiver(Receiver kind, CommandReceiver* receiver) {
    if (kind == Receiver::None || slot(kind) >= m_receivers.size()) {
        return;
    }
    m_receivers[slot(kind)] = receiver;
}

CommandReceiver* CommandRouter::receiverFor(int command, FrameMode mode, FocusedPane focus) const {
    const Receiver kind = routeCommand(command, mode, focus);
    if (kind == Receiver::None || slot(kind) >= m_receivers.size()) {
        return nullptr;
    }
    return m_receivers[slot(kind)];
}

CommandState CommandRouter::state(int command, FrameMode mode, FocusedPane focus) const {
    const CommandReceiver* receiver = receiverFor(performedCommand(command), mode, focus);
    if (receiver == nullptr) {
        return {};
    }
    return answer(*receiver, command).second.value_or(CommandState{});
}

bool CommandRouter::dispatch(int command, FrameMode mode, FocusedPane focus) {
    CommandReceiver* receiver = receiverFor(performedCommand(command), mode, focus);
    if (receiver == nullptr) {
        return false;
    }
    const auto [asked, state] = answer(*receiver, command);
    if (!state || !state->enabled) {
        return false;
    }
    receiver->runCommand(asked);
    return true;
}

std::pair<int, std::optional<CommandState>> CommandRouter::answer(const CommandReceiver& receiver,
                                                                  int command) {
    // A button that stands for another command may have its own enabling and action; otherwise
    // the command it performs answers.
    if (auto own = receiver.commandState(command)) {
        return {command, own};
    }
    const int performed = performedCommand(command);
    if (performed == command) {
        return {command, std::nullopt};
    }
    return {performed, receiver.commandState(performed)};
}

std::vector<int> CommandRouter::handledCommands() const {
    std::vector<int> ids;
    for (const CommandReceiver* receiver : m_receivers) {
        if (receiver != nullptr) {
            const std::vector<int> own = receiver->handledCommands();
            ids.insert(ids.end(), own.begin(), own.end());
        }
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

}  // namespace tarn
