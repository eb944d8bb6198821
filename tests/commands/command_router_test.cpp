#include "commands/command_router.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tarn {
namespace {

// Answers for the commands it was given; records what it ran.
class RecordingReceiver : public CommandReceiver {
public:
    std::map<int, CommandState> answers;
    std::vector<int> ran;

    std::optional<CommandState> commandState(int command) const override {
        const auto it = answers.find(command);
        if (it == answers.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    void runCommand(int command) override { ran.push_back(command); }
};

struct RouterFixture : ::testing::Test {
    CommandRouter router;
    RecordingReceiver frame, list, folderTree, favorites, imageView;

    void SetUp() override {
        router.setReceiver(Receiver::Frame, &frame);
        router.setReceiver(Receiver::ThumbnailList, &list);
        router.setReceiver(Receiver::FolderTree, &folderTree);
        router.setReceiver(Receiver::FavoritesTree, &favorites);
        router.setReceiver(Receiver::ImageView, &imageView);
    }
};

TEST_F(RouterFixture, DeleteGoesToTheFocusedTreeNotTheList) {
    for (RecordingReceiver* r : {&list, &folderTree, &favorites}) {
        r->answers[cmd::kDelete] = {true, false};
    }
    EXPECT_TRUE(router.dispatch(cmd::kDelete, FrameMode::Browser, FocusedPane::FolderTree));
    EXPECT_EQ(folderTree.ran, std::vector<int>{cmd::kDelete});
    EXPECT_TRUE(list.ran.empty());
    list.answers[cmd::kAddToFavorites] = {true, false};
    EXPECT_TRUE(
        router.dispatch(cmd::kAddToFavorites, FrameMode::Browser, FocusedPane::FavoritesTree));
    EXPECT_EQ(list.ran, std::vector<int>{cmd::kAddToFavorites});
    EXPECT_TRUE(favorites.ran.empty());
}

TEST_F(RouterFixture, UnansweredAndDisabledCommandsDoNothing) {
    // A receiver that does not handle a command answers it disabled.
    EXPECT_FALSE(
        router.state(cmd::kExport, FrameMode::Browser, FocusedPane::ThumbnailList).enabled);
    EXPECT_FALSE(router.dispatch(cmd::kExport, FrameMode::Browser, FocusedPane::ThumbnailList));
    list.answers[cmd::kExport] = {false, false};
    EXPECT_FALSE(router.dispatch(cmd::kExport, FrameMode::Browser, FocusedPane::ThumbnailList));
    EXPECT_TRUE(list.ran.empty());
    // A stale image command in the browser never reaches the image view.
    imageView.answers[cmd::kSave] = {true, false};
    EXPECT_FALSE(router.dispatch(cmd::kSave, FrameMode::Browser, FocusedPane::ThumbnailList));
    EXPECT_TRUE(imageView.ran.empty());
    // Nothing but the frame's own commands run in the slide show.
    list.answers[cmd::kSlideShow] = {true, false};
    EXPECT_FALSE(router.dispatch(cmd::kSlideShow, FrameMode::SlideShow, FocusedPane::Other));
    frame.answers[cmd::kExit] = {true, false};
    EXPECT_TRUE(router.dispatch(cmd::kExit, FrameMode::SlideShow, FocusedPane::Other));
    EXPECT_FALSE(router.dispatch(12345, FrameMode::Browser, FocusedPane::Other));
}

TEST_F(RouterFixture, StateComesFromTheChosenReceiver) {
    frame.answers[cmd::kZoom100] = {true, true};
    const CommandState s = router.state(cmd::kZoom100, FrameMode::Image, FocusedPane::Other);
    EXPECT_TRUE(s.enabled);
    EXPECT_TRUE(s.checked);
    EXPECT_FALSE(router.state(cmd::kZoom100, FrameMode::Browser, FocusedPane::Other).enabled);
    // A receiver that is gone answers nothing.
    router.setReceiver(Receiver::Frame, nullptr);
    EXPECT_FALSE(router.state(cmd::kZoom100, FrameMode::Image, FocusedPane::Other).enabled);
    router.setReceiver(Receiver::None, &frame);  // ignored
    EXPECT_FALSE(router.state(cmd::kZoom100, FrameMode::Image, FocusedPane::Other).enabled);
}

TEST_F(RouterFixture, FitImageButtonRunsTheFitCommand) {
    imageView.answers[cmd::kZoomFitImage] = {true, true};
    EXPECT_TRUE(router.state(cmd::kFitImage, FrameMode::Image, FocusedPane::Other).enabled);
    EXPECT_TRUE(router.dispatch(cmd::kFitImage, FrameMode::Image, FocusedPane::Other));
    EXPECT_EQ(imageView.ran, std::vector<int>{cmd::kZoomFitImage});
}

}  // namespace
}  // namespace tarn
