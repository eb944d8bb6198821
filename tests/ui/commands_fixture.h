#pragma once

// The main frame over a picture folder with two images and five sub-folders, for the tests of
// its commands and menus.
#include <string>

#include "browser/image_list_ctrl.h"
#include "browser/shell_tree.h"
#include "frame/main_frame.h"
#include "ui/frame_fixture.h"
#include "ui/ui_test_support.h"

namespace tarn {

// A user whose picture folder holds two images, a sub-folder and the folders A..D.
struct CommandsFixture : test::FrameFixture {
    CommandsFixture() {
        for (const char* sub : {"Holiday", "A", "B", "C", "D"}) {
            addFolder(sub);
        }
        addImage("a.png");
        addImage("b.png");
    }

    // Selects a folder in the tree as a user click does: the list browses it.
    void visit(const std::string& path) {
        const auto id = context->shell.idFromPath(path);
        ASSERT_TRUE(id.has_value()) << path;
        ASSERT_TRUE(frame->folderTree()->selectFolder(*id)) << path;
        test::flushEvents();
    }

    std::string listed() const { return frame->imageList()->model().folderPath(); }
};

}  // namespace tarn
