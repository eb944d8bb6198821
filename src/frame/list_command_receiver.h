#pragma once

#include <optional>

#include "frame/command_router.h"

namespace tarn {

class CImageListCtrl;

// The thumbnail list as a command receiver: the selection, sort and refresh commands whose
// behaviour the list has. Everything else it leaves unanswered (disabled).
class ListCommandReceiver : public CommandReceiver {
public:
    explicit ListCommandReceiver(CImageListCtrl& list) : m_list(list) {}

    std::optional<CommandState> commandState(int command) const override;
    void runCommand(int command) override;

private:
    CImageListCtrl& m_list;
};

// A receiver with no commands of its own yet: the trees and the image view until their
// commands are built. Every question is answered "disabled" by the router.
class SilentCommandReceiver : public CommandReceiver {
public:
    std::optional<CommandState> commandState(int) const override { return std::nullopt; }
    void runCommand(int) override {}
};

}  // namespace tarn
