#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "commands/command_router.h"

namespace tarn {

// A receiver's commands, registered one line each: identifier, enabled, checked (for the
// check marks), action. A command nobody registered stays unanswered, which the router reports
// as disabled.
class CommandHandlers : public CommandReceiver {
public:
    using Test = std::function<bool()>;
    using Action = std::function<void()>;

    // Registers a command; registering it again replaces the row.
    void add(int command, Test enabled, Action action);
    void add(int command, Test enabled, Test checked, Action action);

    bool handles(int command) const { return find(command) != nullptr; }

    std::optional<CommandState> commandState(int command) const override;
    void runCommand(int command) override;
    std::vector<int> handledCommands() const override;

    // An "enabled" test for the commands that always apply.
    static bool always() { return true; }

private:
    struct Row {
        int command;
        Test enabled;
        Test checked;
        Action action;
    };
    const Row* find(int command) const;

    std::vector<Row> m_rows;  // in registration order; a receiver holds a few dozen at most
};

}  // namespace tarn
