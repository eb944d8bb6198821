#include "browser/folder_model.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <filesystem>

#include "app/settings.h"
#include "fakes/temp_dir.h"
#include "platform/shell_link.h"
#include "platform/system_icons.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using platform::ShellNamespace;
using test::TempDir;
using test::writeFile;

ImageExtensions testImages() {
    return ImageExtensions({"jpg", "JPEG", "png", "bmp", "tif"});
}

// Sets a file's last-write time to a given second.
void setMTime(const std::string& path, long seconds) {
    const struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0);
}

class FolderModelTest : public ::testing::Test {
protected:
    FolderModelTest() : m_shell(m_tmp.file("home"), {}), m_model(m_shell, testImages()) {
        fs::create_directories(m_tmp.file("home"));
        fs::create_directories(m_tmp.file("d"));
    }

    std::string dir(const std::string& name = {}) const {
        return name.empty() ? m_tmp.file("d") : m_tmp.file("d/" + name);
    }

    bool browse(bool showHidden = false) {
        return m_model.browse(*m_shell.idFromPath(dir()), kBrowseFromTree, showHidden);
    }

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (int i = 0; i < m_model.count(); ++i) {
            out.push_back(m_model.item(i)->displayName);
        }
        return out;
    }

    FolderItem& byName(const std::string& name) {
        FolderItem* it = m_model.itemByPath(dir(name));
        EXPECT_NE(it, nullptr) << name;
        return *it;
    }

    TempDir m_tmp;
    ShellNamespace m_shell;
    FolderModel m_model;
};

TEST_F(FolderModelTest, SortsFoldersFirstByEveryKeyInBothDirections) {
    writeFile(dir("b.JPG"), "1234");
    writeFile(dir("A.png"), "12");
    fs::create_directory(dir("z"));
    ASSERT_TRUE(browse());
    EXPECT_EQ(names(), (std::vector<std::string>{"z", "A.png", "b.JPG"}));
    m_model.setSortDirection(kSortBackward);
    EXPECT_EQ(names(), (std::vector<std::string>{"z", "b.JPG", "A.png"}));

    writeFile(dir("c.bmp"), "123");
    setMTime(dir("A.png"), 3000);
    setMTime(dir("b.JPG"), 1000);
    setMTime(dir("c.bmp"), 2000);
    m_model.refresh(false);
    m_model.setSortDirection(kSortForward);
    m_model.sortBy(kSortBySize);
    EXPECT_EQ(names(), (std::vector<std::string>{"z", "A.png", "c.bmp", "b.JPG"}));
    m_model.sortBy(kSortByDate);
    EXPECT_EQ(names(), (std::vector<std::string>{"z", "b.JPG", "c.bmp", "A.png"}));
    m_model.sortBy(kSortByType);
    EXPECT_EQ(names(), (std::vector<std::string>{"z", "c.bmp", "b.JPG", "A.png"}));
    m_model.item(1)->photoWidth = 10;  // c.bmp: 10 x 10
    m_model.item(1)->photoHeight = 10;
    m_model.item(2)->photoWidth = 30;  // b.JPG: 30 x 2
    m_model.item(2)->photoHeight = 2;
    m_model.sortBy(kSortByPhotoSize);
    EXPECT_EQ(names(), (std::vector<std::string>{"z", "A.png", "b.JPG", "c.bmp"}));
    m_model.setSortDirection(kSortBackward);
    EXPECT_EQ(names(), (std::vector<std::string>{"z", "c.bmp", "b.JPG", "A.png"}));
    EXPECT_EQ(m_model.sortKey(), kSortByPhotoSize);
}

TEST_F(FolderModelTest, EqualKeysKeepTheirOrderAndBrowsingDropsThePhotoSizeKey) {
    for (const char* n : {"e.jpg", "d.jpg", "c.jpg", "b.jpg", "a.jpg"}) {
        writeFile(dir(n), "same");
    }
    writeFile(dir("big.jpg"), "larger file");
    ASSERT_TRUE(browse());
    m_model.sortBy(kSortBySize);
    EXPECT_EQ(names(),
              (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "big.jpg"}));
    m_model.setSortDirection(kSortBackward);
    EXPECT_EQ(names(),
              (std::vector<std::string>{"big.jpg", "a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}));

    m_model.setSortState(kSortByPhotoSize, kSortForward);
    ASSERT_TRUE(browse());
    EXPECT_EQ(m_model.sortKey(), kSortByName);
    EXPECT_EQ(names().front(), "a.jpg");
    EXPECT_EQ(m_model.focusedIndex(), 0);
}

TEST_F(FolderModelTest, ClassifiesKindsLinksAndBrowsableFolders) {
    writeFile(dir("photo.JPEG"), "x");
    writeFile(dir("notes.txt"), "x");
    writeFile(dir("archive.zip"), "PK");
    writeFile(dir("scan.tif"), "x");
    fs::create_directory(dir("sub"));
    fs::create_symlink(dir("sub"), dir("link-to-sub"));
    fs::create_symlink("/", dir("link-to-root"));
    fs::create_symlink(dir("photo.JPEG"), dir("link-to-photo"));
    fs::create_symlink(dir("nothing"), dir("dangling"));
    fs::create_symlink(dir("loop-b"), dir("loop-a"));
    fs::create_symlink(dir("loop-a"), dir("loop-b"));
    ASSERT_TRUE(platform::writeShellLink(dir("Sub folder.lnk"), dir("sub")));
    writeFile(dir("broken.lnk"), "garbage");
    ASSERT_TRUE(browse());
    ASSERT_EQ(m_model.count(), 13);

    EXPECT_EQ(byName("photo.JPEG").kind, kKindImage);
    EXPECT_TRUE(byName("photo.JPEG").thumbnailPending);
    EXPECT_EQ(byName("photo.JPEG").iconIndex,
              platform::systemIconIndex(platform::SystemIcon::Image));
    EXPECT_EQ(byName("notes.txt").kind, kKindOther);
    EXPECT_FALSE(byName("notes.txt").thumbnailPending);
    EXPECT_EQ(byName("archive.zip").kind, kKindOther);
    EXPECT_EQ(byName("scan.tif").kind, kKindImage);

    const FolderItem& sub = byName("sub");
    EXPECT_EQ(sub.kind, kKindFolder);
    EXPECT_TRUE(sub.browsableFolder);
    EXPECT_EQ(sub.targetPath, dir("sub"));
    EXPECT_EQ(sub.size, 0u);
    EXPECT_EQ(m_shell.compare(sub.absoluteId, *m_shell.idFromPath(dir("sub"))), 0);

    const std::string realSub = fs::canonical(dir("sub")).string();
    EXPECT_EQ(byName("link-to-sub").kind, kKindShortcut);
    EXPECT_TRUE(byName("link-to-sub").browsableFolder);
    EXPECT_EQ(byName("link-to-sub").targetPath, realSub);
    EXPECT_EQ(byName("link-to-root").kind, kKindShortcut);
    EXPECT_EQ(byName("link-to-root").targetPath, "/");
    EXPECT_FALSE(byName("link-to-root").browsableFolder);
    EXPECT_TRUE(byName("link-to-photo").thumbnailPending);
    EXPECT_EQ(byName("Sub folder.lnk").kind, kKindShortcut);
    EXPECT_TRUE(byName("Sub folder.lnk").browsableFolder);
    EXPECT_EQ(byName("Sub folder.lnk").targetPath, dir("sub"));
    for (const char* n : {"dangling", "loop-a", "broken.lnk"}) {
        EXPECT_EQ(byName(n).kind, kKindShortcut) << n;
        EXPECT_EQ(byName(n).targetPath, "") << n;
        EXPECT_FALSE(byName(n).browsableFolder) << n;
    }

    // Images among targets: the photo, the link to it; not the dangling ones.
    EXPECT_EQ(m_model.imageCount(), 3);
    const int photo = m_model.indexOf(&byName("photo.JPEG"));
    const int linkToPhoto = m_model.indexOf(&byName("link-to-photo"));
    EXPECT_EQ(m_model.nextImage(-1), linkToPhoto);
    EXPECT_EQ(m_model.nextImage(linkToPhoto), photo);
    EXPECT_EQ(m_model.previousImage(photo), linkToPhoto);
    EXPECT_EQ(m_model.previousImage(linkToPhoto), -1);
    EXPECT_EQ(m_model.nextImage(m_model.count() - 1), -1);
    EXPECT_EQ(m_model.imagePosition(photo), 2);

    // The link's target is checked at the step: once the photo has gone, the link is skipped.
    fs::remove(dir("photo.JPEG"));
    EXPECT_EQ(m_model.nextImage(-1), photo);
    EXPECT_EQ(m_model.previousImage(photo), -1);
}

TEST_F(FolderModelTest, RefreshKeepsUnchangedThumbnailsAndAppendsNewFiles) {
    writeFile(dir("b.jpg"), "old");
    writeFile(dir("c.jpg"), "keep");
    writeFile(dir("d.jpg"), "gone soon");
    setMTime(dir("b.jpg"), 1000);
    ASSERT_TRUE(browse());
    for (int i = 0; i < m_model.count(); ++i) {
        FolderItem* it = m_model.item(i);
        it->thumbnail.reset(FreeImage_Allocate(4, 4, 24));
        it->photoWidth = 640;
        it->photoHeight = 480;
        it->thumbnailPending = false;
    }
    m_model.setSelected(0, true);

    writeFile(dir("b.jpg"), "rewritten");
    setMTime(dir("b.jpg"), 2000);
    writeFile(dir("a.jpg"), "new");
    fs::remove(dir("d.jpg"));
    EXPECT_TRUE(m_model.refresh(false));

    EXPECT_EQ(names(), (std::vector<std::string>{"b.jpg", "c.jpg", "a.jpg"}));
    const FolderItem& b = byName("b.jpg");
    EXPECT_EQ(b.thumbnail, nullptr);
    EXPECT_EQ(b.photoWidth, 0);
    EXPECT_EQ(b.photoHeight, 0);
    EXPECT_TRUE(b.thumbnailPending);
    EXPECT_EQ(b.size, 9u);
    EXPECT_TRUE(b.selected);
    EXPECT_NE(byName("c.jpg").thumbnail, nullptr);
    EXPECT_EQ(byName("c.jpg").photoWidth, 640);
    EXPECT_EQ(byName("a.jpg").thumbnail, nullptr);

    EXPECT_FALSE(m_model.refresh(false));
    // A file replaced by a folder of its name is rebuilt as a folder.
    fs::remove(dir("c.jpg"));
    fs::create_directory(dir("c.jpg"));
    EXPECT_TRUE(m_model.refresh(false));
    EXPECT_EQ(byName("c.jpg").kind, kKindFolder);
    EXPECT_EQ(byName("c.jpg").thumbnail, nullptr);
    // The folder itself vanishing empties the model.
    fs::remove_all(dir());
    EXPECT_TRUE(m_model.refresh(false));
    EXPECT_EQ(m_model.count(), 0);
}

TEST_F(FolderModelTest, HiddenFilesFollowTheSetting) {
    writeFile(dir(".secret.jpg"), "x");
    writeFile(dir("plain.jpg"), "x");
    SettingsStore settings(m_tmp.file("Config.ini"));
    ASSERT_TRUE(browse(settings.get(settings::kShowHiddenFiles)));
    EXPECT_EQ(names(), (std::vector<std::string>{"plain.jpg"}));

    ASSERT_TRUE(settings.set(settings::kShowHiddenFiles, true));
    ASSERT_TRUE(browse(settings.get(settings::kShowHiddenFiles)));
    EXPECT_EQ(names(), (std::vector<std::string>{".secret.jpg", "plain.jpg"}));
    EXPECT_TRUE(byName(".secret.jpg").hidden);
    EXPECT_FALSE(byName("plain.jpg").hidden);
}

TEST_F(FolderModelTest, LookupsFollowTheHostCaseRule) {
    writeFile(dir("a.jpg"), "1");
    writeFile(dir("A.jpg"), "22");
    fs::create_directory(dir("sub"));
    ASSERT_TRUE(browse());
    ASSERT_EQ(m_model.count(), 3);
    FolderItem* lower = m_model.itemByPath(dir("a.jpg"));
    FolderItem* upper = m_model.itemByPath(dir("A.jpg"));
    ASSERT_NE(lower, nullptr);
    ASSERT_NE(upper, nullptr);
    EXPECT_NE(lower, upper);
    EXPECT_EQ(lower->size, 1u);
    EXPECT_EQ(upper->size, 2u);
    EXPECT_EQ(m_model.itemByPath(dir("sub") + "/"), m_model.itemByPath(dir("sub")));
    EXPECT_EQ(m_model.itemByPath(""), nullptr);
    EXPECT_EQ(m_model.itemByPath(dir("SUB")), nullptr);
    EXPECT_EQ(m_model.itemByRelativeId(*ShellNamespace::childId("A.jpg")), upper);
    EXPECT_EQ(m_model.itemByRelativeId(*ShellNamespace::childId("x.jpg")), nullptr);
    EXPECT_EQ(m_model.indexOf(m_model.item(2)), 2);
    EXPECT_EQ(m_model.indexOf(nullptr), -1);
    EXPECT_EQ(m_model.item(3), nullptr);
    EXPECT_EQ(m_model.item(-1), nullptr);
}

TEST_F(FolderModelTest, SelectionCommandsListsAndTotals) {
    // Sparse files: sizes above 4 GiB without using the disk.
    for (const char* n : {"big1.jpg", "big2.txt"}) {
        writeFile(dir(n), "");
        fs::resize_file(dir(n), 3ull << 30);
    }
    writeFile(dir("small.png"), "12345");
    fs::create_directory(dir("folder"));
    ASSERT_TRUE(browse());
    ASSERT_EQ(names(), (std::vector<std::string>{"folder", "big1.jpg", "big2.txt", "small.png"}));
    EXPECT_EQ(m_model.totalSize(), (6ull << 30) + 5);

    m_model.selectAllFiles();
    EXPECT_EQ(m_model.selectedCount(), 3);
    EXPECT_FALSE(m_model.item(0)->selected);
    EXPECT_EQ(m_model.selectedTotalSize(), (6ull << 30) + 5);
    m_model.selectAllImages();
    EXPECT_EQ(m_model.selectedImageCount(), 2);
    EXPECT_EQ(m_model.selectedImagePaths(),
              (std::vector<std::string>{dir("big1.jpg"), dir("small.png")}));
    EXPECT_EQ(m_model.selectedTotalSize(), (3ull << 30) + 5);
    m_model.invertSelection();
    EXPECT_EQ(m_model.selectedPaths(), (std::vector<std::string>{dir("folder"), dir("big2.txt")}));
    EXPECT_EQ(m_model.selectedIds().size(), 2u);
    EXPECT_EQ(m_model.firstSelected(), 0);
    m_model.clearSelection();
    EXPECT_EQ(m_model.selectedCount(), 0);
    EXPECT_EQ(m_model.firstSelected(), -1);
    m_model.selectAll();
    EXPECT_EQ(m_model.selectedCount(), 4);
    EXPECT_EQ(m_model.allImagePaths().size(), 2u);
    EXPECT_EQ(m_model.allDisplayNames().size(), 4u);
    EXPECT_EQ(FolderModel::multiString({"a", "bc"}), std::string("a\0bc\0\0", 6));
    EXPECT_EQ(FolderModel::multiString({}), std::string(1, '\0'));

    m_model.setFocus(2);
    EXPECT_EQ(m_model.focusedIndex(), 2);
    m_model.setFocus(1);
    EXPECT_EQ(m_model.focusedIndex(), 1);
    EXPECT_FALSE(m_model.item(2)->focused);
}

TEST_F(FolderModelTest, AFolderThatCannotBeListedKeepsTheOldContents) {
    writeFile(dir("keep.jpg"), "x");
    ASSERT_TRUE(browse());
    EXPECT_EQ(m_model.windowTitle(), "d - Tarn Photo Viewer");
    bool handedOver = false;
    EXPECT_FALSE(m_model.browse(*m_shell.idFromPath(m_tmp.file("missing")), kBrowseFromTree, false,
                                [&] { handedOver = true; }));
    EXPECT_FALSE(handedOver);
    EXPECT_EQ(names(), (std::vector<std::string>{"keep.jpg"}));
    EXPECT_EQ(m_model.folderPath(), dir());

    if (::geteuid() != 0) {
        fs::create_directory(m_tmp.file("locked"));
        ::chmod(m_tmp.file("locked").c_str(), 0);
        EXPECT_FALSE(m_model.browse(*m_shell.idFromPath(m_tmp.file("locked")), 0, false));
        EXPECT_EQ(m_model.count(), 1);
    }

    // Virtual folders list their children; Computer has no path.
    EXPECT_TRUE(m_model.browse(ShellNamespace::desktop(), kBrowseFromFavorites, false,
                               [&] { handedOver = true; }));
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(m_model.browseSource(), kBrowseFromFavorites);
    EXPECT_EQ(names(), (std::vector<std::string>{"Computer", "Home"}));
    EXPECT_EQ(m_model.item(0)->path, "");
    EXPECT_FALSE(m_model.item(0)->fileSystem);
    EXPECT_FALSE(m_model.item(0)->browsableFolder);
    EXPECT_EQ(m_model.item(1)->iconIndex, platform::systemIconIndex(platform::SystemIcon::Home));
    EXPECT_EQ(m_model.windowTitle(), "Desktop - Tarn Photo Viewer");
}

TEST_F(FolderModelTest, NamesThatAreNotUtf8AreShownAsTheyAre) {
    writeFile(dir("ok.jpg"), "x");
    writeFile(dir("caf\xe9.jpg"), "x");
    ASSERT_TRUE(browse());
    EXPECT_EQ(names(), (std::vector<std::string>{"caf\xe9.jpg", "ok.jpg"}));
    EXPECT_EQ(byName("caf\xe9.jpg").kind, kKindImage);
}

TEST(FileClassificationTest, ClassifiesByDirectoryAndExtension) {
    TempDir tmp;
    fs::create_directory(tmp.file("pics.jpg"));
    const ImageExtensions images = testImages();
    EXPECT_EQ(classifyFile(tmp.file("pics.jpg"), false, images), kKindFolder);
    EXPECT_EQ(classifyFile(tmp.file("pics.jpg") + "/", false, images), kKindFolder);
    EXPECT_EQ(classifyFile(tmp.file("pics.jpg"), true, images), kKindImage);
    EXPECT_EQ(classifyFile("/x/a.JpEg", false, images), kKindImage);
    EXPECT_EQ(classifyFile("/x/a.gif", false, images), kKindOther);
    EXPECT_EQ(classifyFile("/x/noext", false, images), kKindOther);
    EXPECT_EQ(classifyFile("/x.jpg/noext", false, images), kKindOther);
    EXPECT_EQ(classifyFile("/x/a.jpg", false, ImageExtensions()), -1);

    EXPECT_TRUE(hasFastThumbnailExtension("/a/b.JFIF"));
    EXPECT_TRUE(hasFastThumbnailExtension("/a/b.tiff"));
    EXPECT_FALSE(hasFastThumbnailExtension("/a/b.webp"));
    EXPECT_FALSE(hasFastThumbnailExtension("/a.jpg/b"));

    writeFile(tmp.file("a.ZIP"), "PK");
    fs::create_directory(tmp.file("b.zip"));
    EXPECT_TRUE(isZipArchive(tmp.file("a.ZIP")));
    EXPECT_FALSE(isZipArchive(tmp.file("b.zip")));
    EXPECT_FALSE(isZipArchive(tmp.file("missing.zip")));
}

TEST(FileClassificationTest, FreeImageReadableExtensions) {
    const ImageExtensions images = ImageExtensions::fromFreeImage();
    ASSERT_TRUE(images.available());
    for (const char* e : {"jpg", "JPEG", "png", "tif", "bmp", "gif"}) {
        EXPECT_TRUE(images.contains(e)) << e;
    }
    EXPECT_FALSE(images.contains("txt"));
    EXPECT_FALSE(images.contains("zip"));
    EXPECT_FALSE(images.contains(""));
}

}  // namespace
}  // namespace tarn
