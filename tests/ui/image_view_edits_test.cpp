// The editing commands of the Image and Effects menus run through the frame on an open image, as
// the menus run them: what they change, what they leave, and that Undo gives it all back.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "browser/file_actions.h"
#include "commands/command_ids.h"
#include "imaging/exif_fixtures.h"
#include "imaging/image_fixtures.h"
#include "ui/image_view_fixture.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> packed(const fipSuperImage& image) {
    return image.copyToHandle();
}

using ImageViewEdits = ImageViewTest;

TEST_F(ImageViewEdits, AnEffectOnASelectionChangesOnlyTheSelectedPixels) {
    openGradient();
    const std::vector<std::uint8_t> original = packed(image());
    select(10, 10, 110, 90);
    ASSERT_TRUE(frame->runCommand(cmd::kNegative));
    EXPECT_EQ(rgb(pixel(image(), 50, 50)), "205,205,178");
    // Just outside, on each side.
    for (const auto& [x, y] : {std::pair{9, 50}, {110, 50}, {50, 9}, {50, 90}}) {
        EXPECT_EQ(rgb(pixel(image(), x, y)), std::to_string(x) + "," + std::to_string(y) + ",77");
    }
    EXPECT_FALSE(view->selection().empty());
    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    EXPECT_EQ(packed(image()), original);
}

TEST_F(ImageViewEdits, ABigImageIsPaintedWhileAnEditWorksOnIt) {
    openGradient(2000, 1500);
    // Shared with the handler, which stays bound to the view after this body ends.
    const auto working = std::make_shared<std::atomic<bool>>(false);
    const auto painted = std::make_shared<std::atomic<bool>>(false);
    view->Bind(wxEVT_PAINT, [working, painted](wxPaintEvent& event) {
        *painted = *painted || *working;
        event.Skip();
    });
    view->Refresh();
    *working = true;
    // The edit holds on until the window was painted (or gives up after a long while).
    const bool changed = view->edit([painted](fipSuperImage& image) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!*painted && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        return image.invert() != FALSE;
    });
    *working = false;
    EXPECT_TRUE(changed);
    EXPECT_TRUE(*painted);
    EXPECT_EQ(rgb(pixel(image(), 1, 2)), "254,253,178");
}

TEST_F(ImageViewEdits, UndoAfterEachCommandGivesBackTheExactPixels) {
    openGradient(61, 47);
    const std::vector<std::uint8_t> original = packed(image());
    const int commands[] = {cmd::kNegative,       cmd::kGrayscale,       cmd::kBlackWhite,
                            cmd::kSwapRbg,        cmd::kSwapBgr,         cmd::kSwapBrg,
                            cmd::kSwapGrb,        cmd::kSwapGbr,         cmd::kFlipVertical,
                            cmd::kFlipHorizontal, cmd::kRotateLeft,      cmd::kRotateRight,
                            cmd::kRotate180,      cmd::kDepthBlackWhite, cmd::kDepth8Grays,
                            cmd::kDepth16Grays,   cmd::kDepth256Grays,   cmd::kDepth8Colors,
                            cmd::kDepth16Colors,  cmd::kDepth256Colors,  cmd::kDepth32Bit};
    for (const int command : commands) {
        ASSERT_TRUE(enabled(command)) << command;
        ASSERT_TRUE(frame->runCommand(command)) << command;
        EXPECT_NE(packed(image()), original) << command;
        EXPECT_TRUE(view->isModified());
        ASSERT_TRUE(frame->runCommand(cmd::kUndo)) << command;
        EXPECT_EQ(packed(image()), original) << command;
        EXPECT_FALSE(enabled(cmd::kUndo)) << command;
    }
}

TEST_F(ImageViewEdits, RotateLeftTurnsTheImageClearsTheSelectionAndFitsItAgain) {
    openGradient(3000, 2000);
    ASSERT_TRUE(frame->runCommand(cmd::kZoomFitImage));
    const double landscapeFit = view->geometry().zoom();
    select(10, 10, 60, 40);
    ASSERT_TRUE(frame->runCommand(cmd::kRotateLeft));
    EXPECT_EQ(image().getWidth(), 2000u);
    EXPECT_EQ(image().getHeight(), 3000u);
    EXPECT_TRUE(view->selection().empty());
    // Turned counter-clockwise: the top-right corner comes to the top-left.
    EXPECT_EQ(rgb(pixel(image(), 0, 0)), "183,0,77");
    const double portraitFit = view->geometry().zoom();
    EXPECT_LT(portraitFit, landscapeFit);
    ASSERT_TRUE(frame->runCommand(cmd::kZoomFitImage));
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), portraitFit);
}

TEST_F(ImageViewEdits, DepthCommandsGiveTheDepthAndPaletteTheyName) {
    openGradient(64, 48);
    ASSERT_TRUE(frame->runCommand(cmd::kDepth16Grays));
    EXPECT_EQ(image().getBPP(), 8u);
    EXPECT_EQ(image().getColorsUsed(), 16u);
    const RGBQUAD* palette = image().getPalette();
    for (unsigned i = 0; i < 16; ++i) {
        EXPECT_TRUE(palette[i].rgbRed == palette[i].rgbGreen &&
                    palette[i].rgbGreen == palette[i].rgbBlue)
            << i;
    }
    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    // The effect dithers to one bit; so does the depth command.
    ASSERT_TRUE(frame->runCommand(cmd::kBlackWhite));
    EXPECT_EQ(image().getBPP(), 1u);
    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    ASSERT_TRUE(frame->runCommand(cmd::kDepthBlackWhite));
    EXPECT_EQ(image().getBPP(), 1u);
    // One bit cannot be turned into colour channels swapped, but it can be turned.
    EXPECT_TRUE(enabled(cmd::kRotateLeft));
    EXPECT_TRUE(enabled(cmd::kSwapBgr));
}

TEST_F(ImageViewEdits, RedEyeReductionWorksOnlyInsideASelection) {
    test::writePicture(path("eye.png"), 60, 40, {20, 30, 200, 0});  // strongly red
    open();
    openFile("eye.png");
    ASSERT_TRUE(frame->runCommand(cmd::kRedEyeReduction));
    EXPECT_EQ(answers.asked.back(),
              "Red Eye Reduction: The feature works only on selections.\nCreate first a "
              "selection in the image using the left mouse button.");
    EXPECT_FALSE(view->isModified());
    EXPECT_FALSE(enabled(cmd::kUndo));
    ASSERT_TRUE(frame->runCommand(cmd::kSelectTool));
    drag(10, 10, 30, 20);
    ASSERT_TRUE(frame->runCommand(cmd::kRedEyeReduction));
    EXPECT_EQ(rgb(pixel(image(), 15, 15)), "25,30,20");
    EXPECT_EQ(rgb(pixel(image(), 35, 15)), "200,30,20");
}

TEST_F(ImageViewEdits, CountColorsTellsTheNumberAndIsNotOfferedForSixteenBits) {
    test::writePicture(path("two.png"), 20, 10, {1, 2, 3, 0});
    test::writePicture(path("wide.bmp"), 20, 10, {}, FIF_BMP, 16);
    open();
    openFile("two.png");
    ASSERT_TRUE(frame->runCommand(cmd::kCountColors));
    EXPECT_EQ(answers.asked.back(), "Unique Colors: The number of unique colors is: 1.");
    EXPECT_FALSE(view->isModified());
    EXPECT_FALSE(enabled(cmd::kUndo));
    openFile("wide.bmp");
    ASSERT_EQ(image().getBPP(), 16u);
    EXPECT_FALSE(enabled(cmd::kCountColors));
    // Effects of any image still are.
    EXPECT_TRUE(enabled(cmd::kFlipVertical));
    EXPECT_TRUE(enabled(cmd::kNegative));
}

TEST_F(ImageViewEdits, ClearFillsTheSelectionWithTheChosenBackgroundAndCropKeepsIt) {
    openGradient();
    EXPECT_FALSE(enabled(cmd::kClear));
    EXPECT_FALSE(enabled(cmd::kCropToSelection));
    answers.color = 0x0000FF;  // red
    ASSERT_TRUE(frame->runCommand(cmd::kSetBackgroundColor));
    EXPECT_EQ(answers.asked.back(), "colour from 0");
    EXPECT_EQ(view->backgroundColor(), 0x0000FFu);
    // Cancelled, the colour stays.
    answers.color.reset();
    ASSERT_TRUE(frame->runCommand(cmd::kSetBackgroundColor));
    EXPECT_EQ(view->backgroundColor(), 0x0000FFu);

    select(20, 30, 70, 60);
    ASSERT_TRUE(frame->runCommand(cmd::kClear));
    EXPECT_EQ(rgb(pixel(image(), 20, 30)), "255,0,0");
    EXPECT_EQ(rgb(pixel(image(), 69, 59)), "255,0,0");
    EXPECT_EQ(rgb(pixel(image(), 70, 59)), "70,59,77");
    EXPECT_FALSE(view->selection().empty());

    ASSERT_TRUE(frame->runCommand(cmd::kCropToSelection));
    EXPECT_EQ(image().getWidth(), 50u);
    EXPECT_EQ(image().getHeight(), 30u);
    EXPECT_TRUE(view->selection().empty());
    EXPECT_EQ(rgb(pixel(image(), 0, 0)), "255,0,0");
    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    EXPECT_EQ(image().getWidth(), 400u);
}

TEST_F(ImageViewEdits, PrintHandsOverTheFileOrACopyOfTheChangedImage) {
    openGradient(40, 30);
    std::vector<std::string> printed;
    frame->fileActions().prompts().print = [&](const std::string& file) {
        printed.push_back(file);
    };
    ASSERT_TRUE(frame->runCommand(cmd::kPrint));
    ASSERT_TRUE(frame->runCommand(cmd::kNegative));
    ASSERT_TRUE(frame->runCommand(cmd::kPrint));
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0], path("a.png"));
    EXPECT_EQ(fs::path(printed[1]).filename(), "$a.bmp");
    fipSuperImage copy;
    ASSERT_TRUE(copy.load(printed[1].c_str()));
    EXPECT_EQ(rgb(pixel(copy, 5, 6)), rgb(pixel(image(), 5, 6)));
    EXPECT_NE(rgb(pixel(copy, 5, 6)), "5,6,77");
}

// The lines exiftool shows for a file, without those about the file rather than its tags.
std::string exifTags(const std::string& file) {
    const std::string listing = fs::temp_directory_path() / "tarn-exif-listing.txt";
    const std::string command =
        "exiftool -a -G1 -s -n -x System:all -x File:all "
        "-x Composite:all '" +
        file + "' > '" + listing + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return test::readFile(listing);
}

TEST_F(ImageViewEdits, LosslessRotationOfTheOpenJpegKeepsEveryTagAndMatchesJpegtran) {
    const std::string photo = path("photo.jpg");
    test::writeBytes(photo, test::encodeJpeg(64, 48));
    ASSERT_TRUE(test::runExiftool(test::cameraAssignments("II") + " '" + photo + "'"));
    const std::string reference = fs::path(fixture.home.path()) / "reference.jpg";
    ASSERT_EQ(
        std::system(
            ("jpegtran -copy all -rotate 90 -trim '" + photo + "' > '" + reference + "'").c_str()),
        0);
    const std::string tagsBefore = exifTags(photo);
    open();
    openFile("photo.jpg");
    ASSERT_TRUE(enabled(cmd::kJpegRotateRight));
    ASSERT_TRUE(frame->runCommand(cmd::kJpegRotateRight));
    EXPECT_EQ(openName(), "photo.jpg");
    EXPECT_EQ(image().getWidth(), 48u);
    EXPECT_EQ(image().getHeight(), 64u);
    EXPECT_FALSE(view->isModified());
    EXPECT_EQ(exifTags(photo), tagsBefore);
    int width = 0;
    int height = 0;
    int refWidth = 0;
    int refHeight = 0;
    EXPECT_EQ(test::decodeRgb(photo, width, height),
              test::decodeRgb(reference, refWidth, refHeight));

    // Unsaved changes are asked about before the file is turned; Cancel leaves both alone.
    ASSERT_TRUE(frame->runCommand(cmd::kNegative));
    answers.querySave = 0;
    ASSERT_TRUE(frame->runCommand(cmd::kJpegRotateLeft));
    EXPECT_EQ(answers.asked.back(), "query " + photo);
    EXPECT_EQ(image().getWidth(), 48u);
    EXPECT_TRUE(view->isModified());

    // A PNG is not offered the transformations.
    test::writePicture(path("b.png"), 8, 8);
    frame->imageList()->refresh();
    answers.querySave = 1002;
    openFile("b.png");
    EXPECT_FALSE(enabled(cmd::kJpegRotateLeft));
}

TEST_F(ImageViewEdits, BrowserTransformsTheSelectedJpegsOnlyWhenEveryFileIsOne) {
    test::writeBytes(path("a.jpg"), test::encodeJpeg(32, 16));
    test::writePicture(path("b.png"), 8, 8);
    fs::create_directory(path("folder"));
    // Older than now, so that the list sees the turned file as changed.
    fs::last_write_time(path("a.jpg"), fs::file_time_type::clock::now() - std::chrono::hours(1));
    open();
    frame->imageList()->selectAll();
    EXPECT_FALSE(enabled(cmd::kJpegRotateLeft));
    frame->imageList()->selectOnly(indexOf("folder"));
    EXPECT_TRUE(enabled(cmd::kJpegRotateLeft));
    frame->imageList()->selectOnly(indexOf("a.jpg"));
    model().item(indexOf("folder"))->selected = true;
    const auto before = model().item(indexOf("a.jpg"))->modified;
    ASSERT_TRUE(enabled(cmd::kJpegRotateLeft));
    ASSERT_TRUE(frame->runCommand(cmd::kJpegRotateLeft));
    int width = 0;
    int height = 0;
    test::decodeRgb(path("a.jpg"), width, height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 32);
    // The list took the turned file in again and keeps it selected.
    const FolderItem* turned = model().item(indexOf("a.jpg"));
    ASSERT_NE(turned, nullptr);
    EXPECT_TRUE(turned->selected);
    EXPECT_NE(turned->modified, before);
}

}  // namespace
}  // namespace tarn
