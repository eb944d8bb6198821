#include "frame/main_frame.h"

#include <gtest/gtest.h>

#include "fakes/fake_special_folders.h"
#include "fakes/temp_dir.h"

namespace tarn {
namespace {

TEST(MainFrame, IsTitledAndKeepsItsMinimumSize) {
    test::TempDir dir;
    AppFolders folders;
    folders.settingsFile = dir.file("Config.ini");
    AppContext context(folders, std::make_unique<test::FakeSpecialFolders>());
    CSystemImageLists icons;
    auto* frame = new CMainFrame(context, icons);
    EXPECT_EQ(frame->GetTitle(), "Tarn Photo Viewer");
    frame->SetSize(100, 100);
    EXPECT_GE(frame->GetSize().GetWidth(), 400);
    EXPECT_GE(frame->GetSize().GetHeight(), 400);
    frame->Destroy();
}

}  // namespace
}  // namespace tarn
