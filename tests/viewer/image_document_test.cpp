#include "viewer/image_document.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>

#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "imaging/imaging_service.h"
#include "ordinary_user.h"
#include "page_files.h"

namespace tarn {
namespace {

using test::pageWidth;
using test::pageWidths;
using test::readFile;
using test::runAsOrdinaryUser;
using test::TempDir;
namespace fs = std::filesystem;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Pixels that no encoder can shrink much, so the file needs about its raw size on disk.
fipSuperImage noisyImage(unsigned width, unsigned height) {
    fipSuperImage image = test::pictureImage(width, height);
    std::mt19937 random(11);
    for (unsigned y = 0; y < height; ++y) {
        BYTE* line = image.getScanLine(y);
        for (unsigned x = 0; x < width * 3; ++x) {
            line[x] = static_cast<BYTE>(random());
        }
    }
    return image;
}

// An edit the tests can recognise in a saved file: the picture gets another width.
void widen(ImageDocument& document, unsigned width) {
    document.history().push(*document.image());
    ASSERT_TRUE(document.image()->rescale(width, document.image()->getHeight(), FILTER_BOX));
    document.setModified(true);
}

// A small file system of its own, to run out of space on. Needs the right to mount.
class SmallDisk {
public:
    SmallDisk(const fs::path& folder, const char* size) : m_folder(folder) {
        fs::create_directory(folder);
        const std::string options = std::string("size=") + size;
        m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (m_mounted) {
            ::umount2(m_folder.c_str(), MNT_DETACH);
        }
    }
    bool mounted() const { return m_mounted; }
    // Fills the disk with one file, then gives back about `spare` bytes.
    void fillLeaving(std::size_t spare) const {
        const std::string filler = (m_folder / "filler").string();
        std::FILE* file = std::fopen(filler.c_str(), "wb");
        const std::string block(4096, 'x');
        std::size_t written = 0;
        while (std::fwrite(block.data(), 1, block.size(), file) == block.size() &&
               std::fflush(file) == 0) {
            written += block.size();
        }
        std::fclose(file);
        fs::resize_file(filler, written > spare ? written - spare : 0);
    }

private:
    fs::path m_folder;
    bool m_mounted = false;
};

class ImageDocumentTest : public testing::Test {
protected:
    std::string picture(const std::string& name, unsigned width, unsigned bpp = 24) {
        const std::string path = m_dir.file(name);
        EXPECT_TRUE(test::pictureImage(width, 12, bpp).save(path.c_str()));
        return path;
    }
    std::string pages(const std::string& name, int count = 3) {
        const std::string path = m_dir.file(name);
        EXPECT_TRUE(test::writePages(path, count));
        return path;
    }
    std::string undoFolder() const { return (m_undo.path() / "undo").string(); }

    ImagingService m_service;
    TempDir m_dir;
    TempDir m_undo;  // apart from m_dir, so that folder listings show only the pictures
    PrefetchSlot m_slot;
};

// ---- opening --------------------------------------------------------------------------------

TEST_F(ImageDocumentTest, OpenTakesThePreloadedImage) {
    const std::string path = picture("next.png", 27);
    m_slot.preload(path, 0);
    m_slot.wait();
    fs::remove(path);  // from now on only the slot has it
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(4, path, 0, m_slot));
    EXPECT_EQ(document.image()->getWidth(), 27u);
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(document.itemIndex(), 4);
    EXPECT_EQ(document.pageCount(), 1);
    EXPECT_FALSE(document.modified());
    EXPECT_FALSE(m_slot.hasResult());
}

TEST_F(ImageDocumentTest, OpenLoadsWhenTheSlotHoldsAnotherFile) {
    const std::string path = picture("this.png", 19);
    const std::string other = picture("other.png", 23);
    m_slot.preload(other, 0);
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(1, path, 0, m_slot));
    EXPECT_EQ(document.image()->getWidth(), 19u);
    // The slot keeps what it read for the next step.
    EXPECT_EQ(m_slot.path(), other);
}

TEST_F(ImageDocumentTest, UnreadableFileLeavesNoImageButKeepsTheIndex) {
    const std::string path = m_dir.file("broken.jpg");
    test::writeFile(path, "not a picture");
    ImageDocument document(undoFolder());
    EXPECT_FALSE(document.open(7, path, 0, m_slot));
    EXPECT_FALSE(document.hasImage());
    EXPECT_EQ(document.image(), nullptr);
    EXPECT_EQ(document.itemIndex(), 7);
    EXPECT_EQ(document.path(), "");
    EXPECT_FALSE(document.saveTo(m_dir.file("x.png")).saved);
    EXPECT_FALSE(fs::exists(m_dir.file("x.png")));
    // An item without a file is no image either.
    EXPECT_FALSE(document.open(8, "", 0, m_slot));
    EXPECT_EQ(document.itemIndex(), 8);
}

TEST_F(ImageDocumentTest, OpenAndCloseForgetTheEditsOfTheLastImage) {
    const std::string first = picture("first.png", 20);
    const std::string second = picture("second.png", 30);
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, first, 0, m_slot));
    widen(document, 25);
    widen(document, 26);
    ASSERT_EQ(document.history().count(), 2);
    const std::vector<std::string> steps = document.history().filePaths();
    ASSERT_EQ(steps.size(), 2u);

    ASSERT_TRUE(document.open(1, second, 0, m_slot));
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(document.history().count(), 0);
    for (const std::string& step : steps) {
        EXPECT_FALSE(fs::exists(step)) << step;
    }
    widen(document, 31);
    document.close();
    EXPECT_FALSE(document.hasImage());
    EXPECT_EQ(document.path(), "");
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(document.history().count(), 0);
    EXPECT_EQ(document.itemIndex(), 1);
}

TEST_F(ImageDocumentTest, PageNavigationFollowsPageAndCount) {
    const std::string path = pages("pages.tif");
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 0, m_slot));
    EXPECT_EQ(document.pageCount(), 3);
    EXPECT_TRUE(document.canNextPage());
    EXPECT_FALSE(document.canPreviousPage());
    EXPECT_FALSE(document.canFirstPage());
    EXPECT_TRUE(document.canLastPage());

    ASSERT_TRUE(document.open(0, path, 1, m_slot));
    EXPECT_EQ(document.image()->getWidth(), pageWidth(1));
    EXPECT_TRUE(document.canNextPage());
    EXPECT_TRUE(document.canPreviousPage());
    EXPECT_TRUE(document.canFirstPage());
    EXPECT_TRUE(document.canLastPage());

    ASSERT_TRUE(document.open(0, path, 2, m_slot));
    EXPECT_FALSE(document.canNextPage());
    EXPECT_TRUE(document.canPreviousPage());
    EXPECT_TRUE(document.canFirstPage());
    EXPECT_FALSE(document.canLastPage());

    const std::string single = picture("single.png", 15);
    ASSERT_TRUE(document.open(1, single, 0, m_slot));
    EXPECT_FALSE(document.canNextPage() || document.canPreviousPage() || document.canFirstPage() ||
                 document.canLastPage());

    // A page the file does not have opens nothing, and nothing can be paged.
    EXPECT_FALSE(document.open(0, path, 3, m_slot));
    EXPECT_EQ(document.pageCount(), 3);
    EXPECT_FALSE(document.canNextPage() || document.canPreviousPage() || document.canFirstPage() ||
                 document.canLastPage());
}

TEST_F(ImageDocumentTest, APageThatCannotBeLoadedCanStillBeLeft) {
    const std::string path = pages("pages.tif");
    ASSERT_TRUE(test::breakTiffPage(path, 1));
    ImageDocument document(undoFolder());
    EXPECT_FALSE(document.open(0, path, 1, m_slot));
    EXPECT_EQ(document.pageIndex(), 1);
    EXPECT_EQ(document.pageCount(), 3);
    EXPECT_TRUE(document.canNextPage());
    EXPECT_TRUE(document.canPreviousPage());
    EXPECT_TRUE(document.canFirstPage());
    EXPECT_TRUE(document.canLastPage());
    ASSERT_TRUE(document.open(0, path, 2, m_slot));
    EXPECT_EQ(document.image()->getWidth(), pageWidth(2));
    // Closed, there is no page to move from.
    document.close();
    EXPECT_FALSE(document.canNextPage() || document.canPreviousPage() || document.canFirstPage() ||
                 document.canLastPage());
}

TEST_F(ImageDocumentTest, CleanCopyOnlyOfUnchangedPixels) {
    ImageDocument document(undoFolder());
    EXPECT_EQ(document.cleanCopy(), nullptr);
    ASSERT_TRUE(document.open(0, picture("a.png", 21), 0, m_slot));
    const std::unique_ptr<fipSuperImage> copy = document.cleanCopy();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy.get(), document.image());
    EXPECT_TRUE(test::samePixels(*copy, *document.image()));
    widen(document, 40);
    EXPECT_EQ(document.cleanCopy(), nullptr);
    // Saved, the pixels are those of the file again.
    ASSERT_TRUE(document.saveTo(document.path()).saved);
    ASSERT_NE(document.cleanCopy(), nullptr);
    EXPECT_EQ(document.cleanCopy()->getWidth(), 40u);
}

// ---- saving ---------------------------------------------------------------------------------

TEST_F(ImageDocumentTest, SaveWritesTheFileAndClearsModified) {
    const std::string path = picture("photo.png", 20);
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 0, m_slot));
    // Saving is allowed unchanged too.
    EXPECT_TRUE(document.saveTo(path).saved);
    widen(document, 33);
    const SaveOutcome outcome = document.saveTo(path);
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.depthConverted);
    EXPECT_FALSE(outcome.reportFailure);
    EXPECT_FALSE(document.modified());
    // Undo steps of a save without conversion stay.
    EXPECT_EQ(document.history().count(), 1);
    EXPECT_EQ(loadImageFile(path, 0).image->getWidth(), 33u);
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"photo.png"});
}

TEST_F(ImageDocumentTest, SaveAsToANewNameKeepsTheDocumentsPath) {
    const std::string path = picture("photo.png", 20);
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(2, path, 0, m_slot));
    widen(document, 44);
    const std::string before = readFile(path);
    const std::string copy = m_dir.file("copy.bmp");
    ASSERT_TRUE(document.saveTo(copy).saved);
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(document.itemIndex(), 2);
    EXPECT_EQ(readFile(path), before);
    const LoadedImage saved = loadImageFile(copy, 0);
    ASSERT_NE(saved.image, nullptr);
    EXPECT_EQ(saved.image->getWidth(), 44u);
    EXPECT_EQ(fipSuperImage::getFileType(copy.c_str()), FIF_BMP);
}

// A 32-bit picture saved where 32 bits cannot go is converted, and its undo steps, which hold
// 32-bit pixels, are deleted with their files.
TEST_F(ImageDocumentTest, DepthTheTargetCannotStoreIsConvertedAndEndsTheHistory) {
    for (const auto& [name, expectedBpp] :
         std::vector<std::pair<std::string, unsigned>>{{"out.jpg", 24u}, {"out.gif", 8u}}) {
        SCOPED_TRACE(name);
        const std::string path = picture("deep.png", 30, 32);
        ImageDocument document(undoFolder());
        ASSERT_TRUE(document.open(0, path, 0, m_slot));
        ASSERT_EQ(document.image()->getBPP(), 32u);
        for (int i = 0; i < 3; ++i) {
            document.history().push(*document.image());
        }
        document.setModified(true);
        const std::vector<std::string> steps = document.history().filePaths();
        ASSERT_EQ(steps.size(), 3u);
        for (const std::string& step : steps) {
            ASSERT_TRUE(fs::exists(step));
        }

        const std::string target = m_dir.file(name);
        const SaveOutcome outcome = document.saveTo(target);
        EXPECT_TRUE(outcome.saved);
        EXPECT_TRUE(outcome.depthConverted);
        EXPECT_FALSE(document.modified());
        EXPECT_EQ(document.image()->getBPP(), expectedBpp);
        EXPECT_EQ(document.history().count(), 0);
        EXPECT_FALSE(document.history().canUndo());
        for (const std::string& step : steps) {
            EXPECT_FALSE(fs::exists(step)) << step;
        }
        EXPECT_EQ(document.path(), path);
        const LoadedImage saved = loadImageFile(target, 0);
        ASSERT_NE(saved.image, nullptr);
        EXPECT_EQ(saved.image->getBPP(), expectedBpp);
        EXPECT_EQ(saved.image->getWidth(), 30u);
    }
}

TEST_F(ImageDocumentTest, FormatOfAnExistingFileGoesByItsContent) {
    // A PNG named like a JPEG: saving onto it keeps what the file is, and needs no conversion
    // of a 32-bit picture.
    const std::string path = m_dir.file("misnamed.jpg");
    ASSERT_TRUE(test::pictureImage(18, 12, 32).save(FIF_PNG, path.c_str()));
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 0, m_slot));
    document.history().push(*document.image());
    document.setModified(true);
    const SaveOutcome outcome = document.saveTo(path);
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.depthConverted);
    EXPECT_EQ(document.history().count(), 1);
    EXPECT_EQ(fipSuperImage::getFileType(path.c_str()), FIF_PNG);
    EXPECT_EQ(loadImageFile(path, 0).image->getBPP(), 32u);
}

TEST_F(ImageDocumentTest, SaveThatCannotBeDoneFailsWithTheMessage) {
    const std::string path = picture("photo.png", 20);
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 0, m_slot));
    widen(document, 22);
    for (const std::string& target :
         {m_dir.file("no such folder/photo.png"), m_dir.file("photo.unknownformat"),
          m_dir.path().string(), std::string()}) {
        SCOPED_TRACE(target);
        const SaveOutcome outcome = document.saveTo(target);
        EXPECT_FALSE(outcome.saved);
        EXPECT_TRUE(outcome.reportFailure);
        EXPECT_TRUE(document.modified());
    }
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"photo.png"});
    EXPECT_EQ(document.history().count(), 1);
}

// The user's own file survives a save onto it that cannot be written; a depth conversion made
// for that save is undone and the undo steps stay.
TEST_F(ImageDocumentTest, FailedSaveOntoTheOpenFileLeavesItIntact) {
    const fs::path folder = m_dir.path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "photo.jpg").string();
    test::writeBytes(path, test::encodeJpeg(40, 30));
    const std::string before = readFile(path);
    // Steps go where the ordinary user may write.
    const fs::path undo = m_undo.path() / "open";
    fs::create_directory(undo);
    fs::permissions(undo, fs::perms::all);
    ::chmod(folder.c_str(), 0555);

    const int failed = runAsOrdinaryUser([&] {
        ImageDocument document(undo.string());
        PrefetchSlot slot;
        if (!document.open(0, path, 0, slot)) {
            return 1;
        }
        document.history().push(*document.image());
        document.history().push(*document.image());
        if (!document.image()->convertTo32Bits()) {
            return 2;
        }
        document.setModified(true);
        const SaveOutcome outcome = document.saveTo(path);
        if (outcome.saved || !outcome.reportFailure || outcome.depthConverted) {
            return 3;
        }
        if (!document.modified() || document.image()->getBPP() != 32) {
            return 4;
        }
        if (document.history().count() != 2) {
            return 5;
        }
        return 0;
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"photo.jpg"});
}

TEST_F(ImageDocumentTest, FullDiskLeavesTheOpenFileIntact) {
    const fs::path folder = m_dir.path() / "small";
    const SmallDisk disk(folder, "256k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "no right to mount a small file system here";
    }
    const std::string path = (folder / "photo.png").string();
    ASSERT_TRUE(test::pictureImage(16, 16).save(path.c_str()));
    const std::string multi = (folder / "pages.tif").string();
    ASSERT_TRUE(test::writePages(multi, 3));
    const std::string photoBefore = readFile(path);
    const std::string pagesBefore = readFile(multi);
    disk.fillLeaving(16 * 1024);

    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 0, m_slot));
    ASSERT_TRUE(document.image()->replace(*std::make_unique<fipSuperImage>(noisyImage(160, 160))));
    document.setModified(true);
    SaveOutcome outcome = document.saveTo(path);
    EXPECT_FALSE(outcome.saved);
    EXPECT_TRUE(outcome.reportFailure);
    EXPECT_TRUE(document.modified());
    EXPECT_TRUE(readFile(path) == photoBefore);

    ASSERT_TRUE(document.open(0, multi, 1, m_slot));
    ASSERT_TRUE(document.image()->replace(*std::make_unique<fipSuperImage>(noisyImage(160, 160))));
    document.setModified(true);
    outcome = document.saveTo(multi);
    EXPECT_FALSE(outcome.saved);
    EXPECT_TRUE(outcome.reportFailure);
    EXPECT_TRUE(readFile(multi) == pagesBefore);

    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"filler", "pages.tif", "photo.png"}));
}

// ---- saving files of several pages ----------------------------------------------------------

TEST_F(ImageDocumentTest, MultiPageSaveToAnotherFileKeepsEveryPage) {
    const std::string path = pages("pages.tif");
    const std::string before = readFile(path);
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 1, m_slot));
    widen(document, 50);
    const std::string target = m_dir.file("edited.tif");
    const SaveOutcome outcome = document.saveTo(target);
    ASSERT_TRUE(outcome.saved);
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(pageWidths(target), (std::vector<unsigned>{pageWidth(0), 50u, pageWidth(2)}));
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(document.path(), path);
    // The unchanged pages keep their pixels.
    const LoadedImage first = loadImageFile(target, 0);
    ASSERT_NE(first.image, nullptr);
    EXPECT_TRUE(test::samePixels(*first.image, *loadImageFile(path, 0).image));
    EXPECT_EQ(namesIn(m_dir.path()), (std::vector<std::string>{"edited.tif", "pages.tif"}));
}

TEST_F(ImageDocumentTest, MultiPageSaveOntoItselfReplacesThePageOnly) {
    const std::string path = pages("pages.tif", 4);
    ::chmod(path.c_str(), 0640);
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 3, m_slot));
    widen(document, 61);
    ASSERT_TRUE(document.saveTo(path).saved);
    EXPECT_EQ(pageWidths(path),
              (std::vector<unsigned>{pageWidth(0), pageWidth(1), pageWidth(2), 61u}));
    // No temporary file is left, and the file keeps its permissions.
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"pages.tif"});
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // The document goes on at its page.
    ASSERT_TRUE(document.open(0, path, 0, m_slot));
    EXPECT_EQ(document.pageCount(), 4);
    EXPECT_EQ(document.image()->getWidth(), pageWidth(0));
}

// A GIF stores 8 bits only: the edited page is brought back to 8 bits and the others stay.
TEST_F(ImageDocumentTest, MultiPageGifSaveConvertsTheEditedPage) {
    const std::string path = m_dir.file("anim.gif");
    ASSERT_TRUE(test::writePages(path, 3, FIF_GIF));
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 1, m_slot));
    document.history().push(*document.image());
    ASSERT_TRUE(document.image()->convertTo24Bits());
    widen(document, 41);
    const SaveOutcome outcome = document.saveTo(path);
    ASSERT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.depthConverted);
    EXPECT_EQ(document.history().count(), 0);
    EXPECT_EQ(document.image()->getBPP(), 8u);
    EXPECT_EQ(pageWidths(path, FIF_GIF), (std::vector<unsigned>{pageWidth(0), 41u, pageWidth(2)}));
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"anim.gif"});
}

TEST_F(ImageDocumentTest, MultiPageSavedInAnotherFormatWritesTheOpenPage) {
    const std::string path = pages("pages.tif");
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 2, m_slot));
    const std::string target = m_dir.file("page.png");
    ASSERT_TRUE(document.saveTo(target).saved);
    const LoadedImage saved = loadImageFile(target, 0);
    ASSERT_NE(saved.image, nullptr);
    EXPECT_EQ(saved.pageCount, 1);
    EXPECT_EQ(saved.image->getWidth(), pageWidth(2));
}

// A page of the source that cannot be read stops the save without the failure message and
// leaves nothing behind.
TEST_F(ImageDocumentTest, UnreadablePageFailsTheSaveSilently) {
    const std::string path = pages("pages.tif");
    ASSERT_TRUE(test::breakTiffPage(path, 1));
    const std::string before = readFile(path);
    ImageDocument document(undoFolder());
    ASSERT_TRUE(document.open(0, path, 0, m_slot));
    ASSERT_EQ(document.pageCount(), 3);
    widen(document, 70);

    const std::string target = m_dir.file("copy.tif");
    SaveOutcome outcome = document.saveTo(target);
    EXPECT_FALSE(outcome.saved);
    EXPECT_FALSE(outcome.reportFailure);
    EXPECT_TRUE(document.modified());
    EXPECT_FALSE(fs::exists(target));

    outcome = document.saveTo(path);
    EXPECT_FALSE(outcome.saved);
    EXPECT_FALSE(outcome.reportFailure);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"pages.tif"});
}

}  // namespace
}  // namespace tarn
