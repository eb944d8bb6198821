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
    const int performed = performedCommand(command);
    const CommandReceiver* receiver = receiverFor(performed, mode, focus);
    if (receiver == nullptr) {
        return {};
    }
    return receiver->commandState(performed).value_or(CommandState{});
}

bool CommandRouter::dispatch(int command, FrameMode mode, FocusedPane focus) {
    const int performed = performedCommand(command);
    CommandReceiver* receiver = receiverFor(performed, mode, focus);
    if (receiver == nullptr) {
        return false;
    }
    const auto answer = receiver->commandState(performed);
    if (!answer || !answer->enabled) {
        return false;
    }
    receiver->runCommand(performed);
    return true;
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
