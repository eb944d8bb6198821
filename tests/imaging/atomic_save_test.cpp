#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "common/atomic_file.h"
#include "fakes/temp_dir.h"
#include "image_fixtures.h"
#include "imaging/fip_super_image.h"
#include "imaging/imaging_service.h"
#include "imaging/jpeg_codec.h"

namespace tarn {
namespace {

using test::pictureImage;
using test::readFile;
using test::TempDir;
using test::writeFile;

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Makes a folder refuse new files, for root too (chmod does not stop root; the immutable
// attribute does), and gives it back on destruction.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const std::filesystem::path& folder) : m_folder(folder) {
        ::chmod(m_folder.c_str(), 0555);
        if (::geteuid() == 0) {
            m_immutable =
                std::system(("chattr +i '" + m_folder.string() + "' 2>/dev/null").c_str()) == 0;
        }
    }
    ~UnwritableFolder() {
        if (m_immutable) {
            std::system(("chattr -i '" + m_folder.string() + "'").c_str());
        }
        ::chmod(m_folder.c_str(), 0755);
    }
    bool refusesFiles() const {
        const std::string probe = (m_folder / "probe").string();
        const bool created = std::fopen(probe.c_str(), "w") != nullptr;
        if (created) {
            std::filesystem::remove(probe);
        }
        return !created;
    }

private:
    std::filesystem::path m_folder;
    bool m_immutable = false;
};

class AtomicSaveTest : public testing::Test {
protected:
    ImagingService m_service;
    TempDir m_dir;
};

TEST_F(AtomicSaveTest, WriterFailureLeavesTheTargetAndNoTemporaryFile) {
    const std::string target = m_dir.file("data.bin");
    writeFile(target, "original");
    std::string seenTemp;
    EXPECT_FALSE(writeFileAtomically(target, [&](const std::string& temp) {
        seenTemp = temp;
        writeFile(temp, "half");
        return false;
    }));
    EXPECT_EQ(readFile(target), "original");
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"data.bin"});
    // The temporary file sat beside the target, so the rename never crosses file systems.
    EXPECT_EQ(std::filesystem::path(seenTemp).parent_path(), m_dir.path());

    EXPECT_FALSE(writeFileAtomically(
        target, [](const std::string&) -> bool { throw std::runtime_error("disk gone"); }));
    EXPECT_EQ(readFile(target), "original");
    EXPECT_EQ(namesIn(m_dir.path()).size(), 1u);
}

TEST_F(AtomicSaveTest, SuccessReplacesTheTargetAndKeepsItsPermissions) {
    const std::string target = m_dir.file("data.bin");
    writeFile(target, "original");
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(writeBytesAtomically(target, "new", 3));
    EXPECT_EQ(readFile(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(namesIn(m_dir.path()).size(), 1u);

    EXPECT_FALSE(writeBytesAtomically(m_dir.path().string(), "x", 1));  // a folder
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.path()));
}

TEST_F(AtomicSaveTest, ImageSaveIntoAnUnwritableFolderFails) {
    const std::filesystem::path folder = m_dir.path() / "locked";
    std::filesystem::create_directory(folder);
    const std::string target = (folder / "photo.png").string();
    ASSERT_TRUE(pictureImage(16, 16).save(target.c_str()));
    const std::string before = readFile(target);
    const UnwritableFolder locked(folder);
    if (!locked.refusesFiles()) {
        GTEST_SKIP() << "cannot make a folder unwritable here";
    }
    EXPECT_FALSE(pictureImage(8, 8).save(target.c_str()));
    EXPECT_FALSE(pictureImage(8, 8).saveFitBPP(target.c_str()));
    EXPECT_EQ(readFile(target), before);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"photo.png"});
}

TEST_F(AtomicSaveTest, DepthTheFormatCannotTakeLeavesTheTarget) {
    const std::string gif = m_dir.file("anim.gif");
    writeFile(gif, "GIF89a existing bytes");
    EXPECT_FALSE(pictureImage(16, 16).save(gif.c_str()));  // 24 bits into GIF
    EXPECT_EQ(readFile(gif), "GIF89a existing bytes");

    // The writer itself refuses (icons are at most 256 pixels wide) after the file was begun.
    const std::string icon = m_dir.file("big.ico");
    writeFile(icon, "old icon");
    EXPECT_FALSE(pictureImage(300, 300).save(icon.c_str()));
    EXPECT_EQ(readFile(icon), "old icon");
    EXPECT_EQ(namesIn(m_dir.path()), (std::vector<std::string>{"anim.gif", "big.ico"}));
}

TEST_F(AtomicSaveTest, SavingOntoTheOpenFileReplacesIt) {
    const std::string path = m_dir.file("open.png");
    ASSERT_TRUE(pictureImage(20, 10).save(path.c_str()));
    fipSuperImage image;
    ASSERT_TRUE(image.load(path.c_str()));
    ASSERT_TRUE(image.flipHorizontal());
    ASSERT_TRUE(image.save(path.c_str()));
    fipSuperImage back;
    ASSERT_TRUE(back.load(path.c_str()));
    EXPECT_TRUE(test::samePixels(back, image));
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"open.png"});

    // The same for a JPEG decoded in memory and written back over itself.
    const std::string jpeg = m_dir.file("open.jpg");
    test::writeBytes(jpeg, test::encodeJpeg(64, 48));
    ASSERT_TRUE(image.load(jpeg.c_str()));
    ASSERT_TRUE(image.invert());
    ASSERT_TRUE(image.save(jpeg.c_str()));
    ASSERT_TRUE(back.load(jpeg.c_str()));
    EXPECT_EQ(back.getWidth(), 64u);
}

}  // namespace
}  // namespace tarn
