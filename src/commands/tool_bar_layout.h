#pragma once

#include <span>

#include "commands/command_ids.h"

namespace tarn {

// How a tool-bar button opens its pop-up menu.
enum class DropKind {
    None,
    Arrow,  // the arrow beside the button opens it
    Whole,  // anywhere on the button opens it
};

// One slot of a tool bar: a button, or a separator when command is 0.
struct ToolBarSlot {
    int command;
    int image;  // index into the tool-bar picture
    DropKind drop;
};

inline constexpr int kToolBarImageCount = 35;
inline constexpr int kToolBarImageSize = 24;

std::span<const ToolBarSlot> browserToolBar();
std::span<const ToolBarSlot> imageToolBar();

}  // namespace tarn
