#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "commands/command_table.h"

namespace tarn {

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

// A window that receives routed commands. It answers for the commands it handles and
// leaves the others unanswered, which the router reports as disabled: a command whose
// behaviour is not there cannot pretend to work.
class CommandReceiver {
public:
    virtual ~CommandReceiver() = default;
    virtual std::optional<CommandState> commandState(int command) const = 0;
    virtual void runCommand(int command) = 0;
    // The commands it answers for, for the check that no built command is left unrouted.
    virtual std::vector<int> handledCommands() const { return {}; }
};

// Sends commands and their enabling questions to the receiver their route chooses. The
// frame asks it from its one update-UI handler and its one command handler.
class CommandRouter {
public:
    // Registers the window for a receiver kind; nullptr removes it. Not owned.
    void setReceiver(Receiver kind, CommandReceiver* receiver);

    // Disabled when the route leads nowhere, the receiver is missing or does not answer.
    CommandState state(int command, FrameMode mode, FocusedPane focus) const;

    // Runs the command on its receiver when that receiver answers it enabled, so that a stale
    // accelerator or a menu opened before a mode switch does nothing. A tool-bar button that
    // stands for another command runs that one, unless the receiver answers for the button
    // itself. Returns whether it ran.
    bool dispatch(int command, FrameMode mode, FocusedPane focus);

    // Every command some registered receiver answers for, sorted, each once.
    std::vector<int> handledCommands() const;

private:
    CommandReceiver* receiverFor(int command, FrameMode mode, FocusedPane focus) const;
    // The command that answers (the one asked, or the one a button performs) and its state.
    static std::pair<int, std::optional<CommandState>> answer(const CommandReceiver& receiver,
                                                              int command);

    std::array<CommandReceiver*, 7> m_receivers{};
};

}  // namespace tarn
