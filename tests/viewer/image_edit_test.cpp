#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <new>

#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "imaging/imaging_service.h"
#include "viewer/image_document.h"

namespace tarn {
namespace {

using test::TempDir;

// Inverts every channel: a plain edit whose result is easy to predict.
bool invertAll(fipSuperImage& image) {
    return image.invert() != FALSE;
}

std::vector<BYTE> pixelsOf(const fipSuperImage& image) {
    std::vector<BYTE> bytes;
    for (unsigned y = 0; y < image.getHeight(); ++y) {
        const BYTE* line = image.getScanLine(y);
        bytes.insert(bytes.end(), line, line + image.getScanWidth());
    }
    return bytes;
}

class ImageEditTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string path = m_dir.file("photo.png");
        ASSERT_TRUE(test::pictureImage(9, 7).save(path.c_str()));
        ASSERT_TRUE(m_document.open(0, path, 0, m_slot));
        m_original = pixelsOf(*m_document.image());
    }
    RGBQUAD pixel(unsigned x, unsigned y) const {
        RGBQUAD colour{};
        m_document.image()->getPixelColor(x, y, &colour);
        return colour;
    }

    ImagingService m_service;
    TempDir m_dir;
    TempDir m_undo;
    PrefetchSlot m_slot;
    ImageDocument m_document{m_undo.file("undo")};
    std::vector<BYTE> m_original;
};

TEST_F(ImageEditTest, AnEditInsideTheSelectionLeavesTheRestAndUndoesAndRedoes) {
    const fipSuperImage before = *m_document.image();
    // The selection reaches past the right edge: it is cut to the image.
    ASSERT_TRUE(m_document.applyEdit(invertAll, Rect{2, 1, 40, 4}));
    EXPECT_TRUE(m_document.modified());
    for (unsigned y = 0; y < 7; ++y) {
        for (unsigned x = 0; x < 9; ++x) {
            RGBQUAD was{};
            before.getPixelColor(x, y, &was);
            const RGBQUAD now = pixel(x, y);
            // Scan lines run bottom-up: image row y is line height - 1 - y.
            const bool inside = x >= 2 && 6 - y >= 1 && 6 - y < 4;
            EXPECT_EQ(now.rgbRed, inside ? 255 - was.rgbRed : was.rgbRed) << x << "," << y;
            EXPECT_EQ(now.rgbBlue, inside ? 255 - was.rgbBlue : was.rgbBlue) << x << "," << y;
        }
    }
    const std::vector<BYTE> edited = pixelsOf(*m_document.image());
    ASSERT_TRUE(m_document.canUndo());
    EXPECT_FALSE(m_document.canRedo());
    ASSERT_TRUE(m_document.undo());
    EXPECT_EQ(pixelsOf(*m_document.image()), m_original);
    ASSERT_TRUE(m_document.canRedo());
    ASSERT_TRUE(m_document.redo());
    EXPECT_EQ(pixelsOf(*m_document.image()), edited);
}

TEST_F(ImageEditTest, AWholeImageEditThatChangesTheSizeIsOneUndoStep) {
    ASSERT_TRUE(m_document.applyEdit([](fipSuperImage& image) { return image.rotate(90) != 0; }));
    EXPECT_EQ(m_document.image()->getWidth(), 7u);
    EXPECT_EQ(m_document.image()->getHeight(), 9u);
    EXPECT_EQ(m_document.history().count(), 1);
    ASSERT_TRUE(m_document.undo());
    EXPECT_EQ(m_document.image()->getWidth(), 9u);
    EXPECT_EQ(pixelsOf(*m_document.image()), m_original);
}

TEST_F(ImageEditTest, AFailedEditChangesNeitherTheImageNorTheModifiedFlag) {
    // Fails outright.
    EXPECT_FALSE(m_document.applyEdit([](fipSuperImage&) { return false; }));
    // Succeeds on the copy, which then no longer fits where it came from.
    EXPECT_FALSE(m_document.applyEdit(
        [](fipSuperImage& piece) { return piece.rescale(30, 30, FILTER_BOX) != FALSE; },
        Rect{1, 1, 4, 4}));
    // A selection outside the image: nothing to edit, and no step is made.
    const int steps = m_document.history().count();
    EXPECT_FALSE(m_document.applyEdit(invertAll, Rect{20, 20, 30, 30}));
    EXPECT_EQ(m_document.history().count(), steps);
    EXPECT_FALSE(m_document.modified());
    EXPECT_EQ(m_document.image()->getBPP(), 24u);
    EXPECT_EQ(pixelsOf(*m_document.image()), m_original);
}

TEST_F(ImageEditTest, AnEditThatRunsOutOfMemoryLeavesTheHistoryAsItWas) {
    ASSERT_TRUE(m_document.applyEdit(invertAll));
    ASSERT_TRUE(m_document.applyEdit(invertAll));
    ASSERT_TRUE(m_document.undo());
    const std::vector<std::uint8_t> before = pixelsOf(*m_document.image());
    EXPECT_FALSE(m_document.applyEdit([](fipSuperImage&) -> bool { throw std::bad_alloc(); }));
    EXPECT_FALSE(m_document.applyEdit([](fipSuperImage&) { return false; }, Rect{1, 1, 4, 4}));
    // The undo step and the redo step are both still there.
    EXPECT_EQ(m_document.history().count(), 1);
    EXPECT_TRUE(m_document.canRedo());
    EXPECT_EQ(pixelsOf(*m_document.image()), before);
    ASSERT_TRUE(m_document.undo());
    EXPECT_EQ(pixelsOf(*m_document.image()), m_original);
}

TEST_F(ImageEditTest, NothingToEditOrUndoWithoutAnImage) {
    m_document.close();
    EXPECT_FALSE(m_document.applyEdit(invertAll));
    EXPECT_FALSE(m_document.canUndo());
    EXPECT_FALSE(m_document.undo());
    EXPECT_FALSE(m_document.redo());
}

}  // namespace
}  // namespace tarn
