#pragma once

#include <functional>
#include <optional>

#include "commands/command_router.h"

namespace tarn {

class CImageListCtrl;
class FolderModel;

// The thumbnail list as a command receiver: the selection, sort and refresh commands whose
// behaviour the list has. Everything else it leaves unanswered (disabled).
class ListCommandReceiver : public CommandReceiver {
public:
    explicit ListCommandReceiver(CImageListCtrl& list) : m_list(list) {}

    std::optional<CommandState> commandState(int command) const override;
    void runCommand(int command) override;

    // What Slide Show does with the index it starts at (the frame enters the slide show).
    void setSlideShowHandler(std::function<void(int index)> handler) {
        m_startSlideShow = std::move(handler);
    }
    // What View in Full Screen does with the focused image's index.
    void setFullScreenHandler(std::function<void(int index)> handler) {
        m_openFullScreen = std::move(handler);
    }
    // Where the slide show starts: the first selected image; with nothing selected the first
    // image of the folder; -1 when selected items hold no image or the folder has none.
    static int slideShowStart(const FolderModel& model);

private:
    CImageListCtrl& m_list;
    std::function<void(int)> m_startSlideShow;
    std::function<void(int)> m_openFullScreen;
};

// A receiver with no commands of its own yet: the trees and the image view until their
// commands are built. Every question is answered "disabled" by the router.
class SilentCommandReceiver : public CommandReceiver {
public:
    std::optional<CommandState> commandState(int) const override { return std::nullopt; }
    void runCommand(int) override {}
};

}  // namespace tarn
