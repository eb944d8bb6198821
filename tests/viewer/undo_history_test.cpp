#include "viewer/undo_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fakes/temp_dir.h"
#include "imaging/fip_super_image.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

void fill(fipSuperImage& image, unsigned seed) {
    const unsigned rowBytes = FreeImage_GetLine(image);
    for (unsigned y = 0; y < image.getHeight(); ++y) {
        BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
        for (unsigned x = 0; x < rowBytes; ++x) {
            row[x] = static_cast<BYTE>((x * 31 + y * 17 + seed * 101) % 251);
        }
    }
}

// A picture whose every byte depends on the seed: distinct seeds give distinct images.
fipSuperImage makeImage(unsigned bpp, unsigned seed, unsigned width = 37, unsigned height = 23) {
    fipSuperImage image;
    image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height),
                               static_cast<int>(bpp));
    if (bpp == 8) {
        RGBQUAD* palette = FreeImage_GetPalette(image);
        for (unsigned i = 0; i < 256; ++i) {
            palette[i].rgbRed = static_cast<BYTE>(i * 7 + seed);
            palette[i].rgbGreen = static_cast<BYTE>(255 - i);
            palette[i].rgbBlue = static_cast<BYTE>(i ^ seed);
        }
    }
    fill(image, seed);
    FreeImage_SetDotsPerMeterX(image, 2835 + seed);
    FreeImage_SetDotsPerMeterY(image, 3937 + seed);
    return image;
}

// An edit: a different picture in the same image object.
void edit(fipSuperImage& image, unsigned seed) {
    fill(image, seed);
}

::testing::AssertionResult sameImage(const fipSuperImage& a, const fipSuperImage& b) {
    if (!a.isValid() || !b.isValid()) {
        return ::testing::AssertionFailure() << "invalid image";
    }
    // The library's accessors take non-const bitmaps; nothing here writes.
    FIBITMAP* da = const_cast<fipSuperImage&>(a);
    FIBITMAP* db = const_cast<fipSuperImage&>(b);
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight() ||
        a.getBPP() != b.getBPP() || a.getImageType() != b.getImageType()) {
        return ::testing::AssertionFailure() << "different size or depth";
    }
    if (FreeImage_GetDotsPerMeterX(da) != FreeImage_GetDotsPerMeterX(db) ||
        FreeImage_GetDotsPerMeterY(da) != FreeImage_GetDotsPerMeterY(db)) {
        return ::testing::AssertionFailure() << "different resolution";
    }
    if (a.getColorsUsed() != b.getColorsUsed() ||
        (a.getColorsUsed() > 0 && std::memcmp(FreeImage_GetPalette(da), FreeImage_GetPalette(db),
                                              a.getColorsUsed() * sizeof(RGBQUAD)) != 0)) {
        return ::testing::AssertionFailure() << "different palette";
    }
    const unsigned rowBytes = FreeImage_GetLine(da);
    for (unsigned y = 0; y < a.getHeight(); ++y) {
        if (std::memcmp(FreeImage_GetScanLine(da, static_cast<int>(y)),
                        FreeImage_GetScanLine(db, static_cast<int>(y)), rowBytes) != 0) {
            return ::testing::AssertionFailure() << "different pixels in row " << y;
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The folder as it stands once the running writer has finished.
std::vector<std::string> settledFiles(UndoHistory& history) {
    const auto paths = history.filePaths();
    return paths.empty() ? paths : filesIn(fs::path(paths[0]).parent_path());
}

bool isSnapshotName(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return name.size() == 12 &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

class UndoHistoryTest : public ::testing::Test {
protected:
    ImagingService m_service;
    TempDir m_dir;
    const std::string m_temp = (m_dir.path() / "Tarn Photo Viewer" / "Temp").string();
};

class UndoRoundTrip : public UndoHistoryTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(UndoRoundTrip, UndoAndRedoGiveBackExactImages) {
    const unsigned bpp = GetParam();
    fipSuperImage image = makeImage(bpp, 1);
    const fipSuperImage original(image);
    UndoHistory history(m_temp);

    ASSERT_TRUE(history.push(image));
    edit(image, 2);
    const fipSuperImage edited(image);
    // Undo right after the edit must wait for the snapshot file.
    ASSERT_TRUE(history.undo(image));
    EXPECT_TRUE(sameImage(image, original));
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(history.canRedo());

    ASSERT_TRUE(history.redo(image));
    EXPECT_TRUE(sameImage(image, edited));
    EXPECT_TRUE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    const auto files = settledFiles(history);
    ASSERT_EQ(files.size(), 1U);
    EXPECT_TRUE(isSnapshotName(files[0]));

    ASSERT_TRUE(history.undo(image));
    EXPECT_TRUE(sameImage(image, original));
    EXPECT_EQ(settledFiles(history).size(), 1U);
    EXPECT_EQ(history.bytesInMemory(), 0U);
}

INSTANTIATE_TEST_SUITE_P(Depths, UndoRoundTrip, ::testing::Values(8U, 24U, 32U));

TEST_F(UndoHistoryTest, LargeImageUndoneAtOnceAfterPush) {
    fipSuperImage image = makeImage(24, 3, 2400, 1800);
    const fipSuperImage original(image);
    UndoHistory history(m_temp);
    ASSERT_TRUE(history.push(image));
    edit(image, 4);
    ASSERT_TRUE(history.undo(image));
    EXPECT_TRUE(sameImage(image, original));
    EXPECT_EQ(image.getFIF(), original.getFIF());
}

TEST_F(UndoHistoryTest, UndoKeepsTheFilesTags) {
    fipSuperImage image = makeImage(24, 1);
    ASSERT_TRUE(FreeImage_SetMetadataKeyValue(FIMD_COMMENTS, image, "Comment", "kept"));
    UndoHistory history(m_temp);
    ASSERT_TRUE(history.push(image));
    edit(image, 2);
    ASSERT_TRUE(history.undo(image));
    FITAG* tag = nullptr;
    ASSERT_TRUE(FreeImage_GetMetadata(FIMD_COMMENTS, image, "Comment", &tag));
    EXPECT_STREQ(static_cast<const char*>(FreeImage_GetTagValue(tag)), "kept");
}

TEST_F(UndoHistoryTest, TwentyOneEditsKeepTheLastTwentySteps) {
    fipSuperImage image = makeImage(24, 0);
    std::vector<fipSuperImage> states{image};
    UndoHistory history(m_temp);
    std::vector<std::string> firstPaths;
    for (unsigned i = 1; i <= 21; ++i) {
        ASSERT_TRUE(history.push(image));
        edit(image, i);
        states.push_back(image);
        if (i == 20) {
            firstPaths = history.filePaths();
            ASSERT_EQ(firstPaths.size(), 20U);
            EXPECT_TRUE(fs::exists(firstPaths[0]));
        }
    }
    EXPECT_EQ(history.count(), 20);
    EXPECT_FALSE(fs::exists(firstPaths[0])) << "the oldest step's file outlived it";
    EXPECT_EQ(settledFiles(history).size(), 20U);
    EXPECT_EQ(history.bytesInMemory(), 0U);

    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(history.undo(image)) << "undo " << i + 1;
        EXPECT_TRUE(sameImage(image, states[20 - i])) << "undo " << i + 1;
    }
    // The 20th undo gives the image as it was after the first edit; the state before is gone.
    EXPECT_TRUE(sameImage(image, states[1]));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo(image));
    EXPECT_TRUE(sameImage(image, states[1]));
    EXPECT_EQ(settledFiles(history).size(), 20U);

    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(history.redo(image));
    }
    EXPECT_TRUE(sameImage(image, states[21]));
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo(image));
}

TEST_F(UndoHistoryTest, PushAfterTwoUndosDeletesBothRedoStepsAndFiles) {
    fipSuperImage image = makeImage(8, 0);
    UndoHistory history(m_temp);
    for (unsigned i = 1; i <= 3; ++i) {
        ASSERT_TRUE(history.push(image));
        edit(image, i);
    }
    ASSERT_TRUE(history.undo(image));
    ASSERT_TRUE(history.undo(image));
    const auto paths = history.filePaths();
    ASSERT_EQ(paths.size(), 3U);
    const fipSuperImage beforeNewEdit(image);

    ASSERT_TRUE(history.push(image));
    edit(image, 9);
    EXPECT_FALSE(fs::exists(paths[1]));
    EXPECT_FALSE(fs::exists(paths[2]));
    EXPECT_TRUE(fs::exists(paths[0]));
    EXPECT_EQ(history.count(), 2);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(settledFiles(history).size(), 2U);
    ASSERT_TRUE(history.undo(image));
    EXPECT_TRUE(sameImage(image, beforeNewEdit));
}

TEST_F(UndoHistoryTest, ClearAndDestructionDeleteEveryFile) {
    fipSuperImage image = makeImage(32, 0);
    {
        UndoHistory history(m_temp);
        for (unsigned i = 1; i <= 5; ++i) {
            ASSERT_TRUE(history.push(image));
            edit(image, i);
        }
        ASSERT_TRUE(history.undo(image));
        EXPECT_EQ(settledFiles(history).size(), 5U);
        history.clear();
        EXPECT_TRUE(filesIn(m_temp).empty());
        EXPECT_EQ(history.count(), 0);
        EXPECT_FALSE(history.canUndo());
        EXPECT_FALSE(history.canRedo());
        EXPECT_FALSE(history.undo(image));

        // Still usable after a clear; closing the image (destruction) right after a push
        // removes the file the writer was making.
        ASSERT_TRUE(history.push(image));
        ASSERT_TRUE(history.push(image));
    }
    EXPECT_TRUE(filesIn(m_temp).empty());
}

TEST_F(UndoHistoryTest, HistoriesNeverShareAFileName) {
    fipSuperImage image = makeImage(8, 5, 4, 4);
    UndoHistory first(m_temp);
    UndoHistory second(m_temp);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(first.push(image));
        ASSERT_TRUE(second.push(image));
    }
    std::set<std::string> names;
    for (const auto& path : first.filePaths()) {
        EXPECT_TRUE(isSnapshotName(path));
        names.insert(path);
    }
    for (const auto& path : second.filePaths()) {
        EXPECT_TRUE(names.insert(path).second) << path;
    }
    EXPECT_EQ(names.size(), 40U);
    EXPECT_EQ(filesIn(m_temp).size(), 40U);
}

TEST_F(UndoHistoryTest, TakenNamesAreDrawnAgain) {
    fs::create_directories(m_temp);
    test::writeFile((fs::path(m_temp) / "AAAAAAAAAAAA").string(), "someone else's");
    std::vector<std::string> draws{"AAAAAAAAAAAA", "BBBBBBBBBBBB", "BBBBBBBBBBBB", "CCCCCCCCCCCC",
                                   "BBBBBBBBBBBB"};
    std::size_t next = 0;
    const auto draw = [&] { return draws.at(next++); };

    // The name of a file in the folder is skipped.
    const std::string first = undo_detail::reserveSnapshotPath(m_temp, draw);
    EXPECT_EQ(fs::path(first).filename(), "BBBBBBBBBBBB");
    // A name reserved by a step whose file is not written yet is skipped too.
    const std::string second = undo_detail::reserveSnapshotPath(m_temp, draw);
    EXPECT_EQ(fs::path(second).filename(), "CCCCCCCCCCCC");
    // Given back, it can be drawn again.
    undo_detail::releaseSnapshotName(first);
    EXPECT_EQ(undo_detail::reserveSnapshotPath(m_temp, draw), first);
    undo_detail::releaseSnapshotName(first);
    undo_detail::releaseSnapshotName(second);

    const std::string drawn = undo_detail::drawSnapshotName();
    EXPECT_TRUE(isSnapshotName(drawn)) << drawn;
    EXPECT_NE(drawn, undo_detail::drawSnapshotName());
}

TEST_F(UndoHistoryTest, VanishedFileUsesTheStepUpAndKeepsTheRest) {
    fipSuperImage image = makeImage(24, 0);
    const fipSuperImage s0(image);
    UndoHistory history(m_temp);
    ASSERT_TRUE(history.push(image));
    edit(image, 1);
    ASSERT_TRUE(history.push(image));
    edit(image, 2);
    const fipSuperImage s2(image);

    const auto paths = history.filePaths();
    ASSERT_EQ(paths.size(), 2U);
    fs::remove(paths[1]);
    EXPECT_FALSE(history.undo(image));
    EXPECT_TRUE(sameImage(image, s2));
    EXPECT_EQ(history.count(), 1);
    EXPECT_FALSE(history.canRedo());
    ASSERT_TRUE(history.undo(image));
    EXPECT_TRUE(sameImage(image, s0));
    ASSERT_TRUE(history.redo(image));
    EXPECT_TRUE(sameImage(image, s2));
    EXPECT_EQ(settledFiles(history).size(), 1U);
}

TEST_F(UndoHistoryTest, DamagedFilesAreRefused) {
    fipSuperImage image = makeImage(32, 0);
    UndoHistory history(m_temp);
    for (unsigned i = 1; i <= 3; ++i) {
        ASSERT_TRUE(history.push(image));
        edit(image, i);
    }
    const fipSuperImage s3(image);
    auto paths = history.filePaths();
    ASSERT_EQ(paths.size(), 3U);

    // Same length, one pixel byte changed.
    std::string bytes = test::readFile(paths[2]);
    bytes[bytes.size() - 5] = static_cast<char>(bytes[bytes.size() - 5] ^ 0x40);
    test::writeFile(paths[2], bytes);
    EXPECT_FALSE(history.undo(image));
    EXPECT_TRUE(sameImage(image, s3));
    EXPECT_EQ(history.count(), 2);

    // Cut short.
    bytes = test::readFile(paths[1]);
    test::writeFile(paths[1], bytes.substr(0, bytes.size() / 2));
    EXPECT_FALSE(history.undo(image));
    EXPECT_TRUE(sameImage(image, s3));
    EXPECT_EQ(history.count(), 1);

    // Garbage of the right length in a redo step: the step goes, the undo step stays.
    ASSERT_TRUE(history.undo(image));
    paths = history.filePaths();
    ASSERT_EQ(paths.size(), 1U);
    test::writeFile(paths[0], std::string(test::readFile(paths[0]).size(), '\x7f'));
    const fipSuperImage s0(image);
    EXPECT_FALSE(history.redo(image));
    EXPECT_TRUE(sameImage(image, s0));
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(filesIn(m_temp).empty());
}

TEST_F(UndoHistoryTest, TemporaryFolderIsCreatedOnFirstPushOnly) {
    UndoHistory history(m_temp);
    fipSuperImage image = makeImage(24, 0);
    EXPECT_FALSE(history.undo(image));
    EXPECT_FALSE(history.redo(image));
    history.clear();
    EXPECT_FALSE(fs::exists(fs::path(m_temp).parent_path()));

    EXPECT_FALSE(history.push(fipSuperImage()));
    EXPECT_FALSE(fs::exists(m_temp));
    ASSERT_TRUE(history.push(image));
    history.filePaths();
    EXPECT_TRUE(fs::is_directory(m_temp));
    EXPECT_EQ(filesIn(m_temp).size(), 1U);
}

TEST_F(UndoHistoryTest, UnwritableFolderLeavesStepsThatFailCleanly) {
    test::writeFile(m_dir.file("plain"), "a file, not a folder");
    UndoHistory history((m_dir.path() / "plain" / "Temp").string());
    fipSuperImage image = makeImage(8, 0);
    ASSERT_TRUE(history.push(image));
    edit(image, 1);
    const fipSuperImage edited(image);
    EXPECT_TRUE(history.canUndo());
    EXPECT_FALSE(history.undo(image));
    EXPECT_TRUE(sameImage(image, edited));
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.bytesInMemory(), 0U);
}

}  // namespace
}  // namespace tarn
