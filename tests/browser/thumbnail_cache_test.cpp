#include "browser/thumbnail_cache.h"
#include "imaging/image_fixtures.h"

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "browser/cached_thumbnail_maker.h"
#include "fakes/temp_dir.h"
#include "imaging/freeimage_ptr.h"
#include "imaging/imaging_service.h"
#include "platform/file_uri.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

constexpr RGBQUAD kRed{0, 0, 255, 0};  // blue, green, red, reserved
constexpr RGBQUAD kBlue{255, 0, 0, 0};

void setMtime(const std::string& path, std::int64_t seconds);

// A picture of one colour, optionally with text keys, written a while ago (files written just
// now are not cached).
void writeOldPicture(const std::string& path, int width, int height, RGBQUAD color,
                     FREE_IMAGE_FORMAT fif = FIF_PNG,
                     const std::vector<std::pair<std::string, std::string>>& keys = {}) {
    test::writePicture(path, width, height, color, fif, 24, keys);
    setMtime(path, std::time(nullptr) - 1000);
}

std::int64_t mtimeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mtim.tv_sec;
}

void setMtime(const std::string& path, std::int64_t seconds) {
    const timeval times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0);
}

// Rewrites the file with other content and the same last write.
void replaceKeepingMtime(const std::string& path, RGBQUAD color, FREE_IMAGE_FORMAT fif) {
    const std::int64_t mtime = mtimeOf(path);
    test::writePicture(path, 300, 200, color, fif);
    setMtime(path, mtime);
}

unsigned modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

std::string identify(const std::string& path) {
    std::string output;
    std::FILE* pipe = ::popen(("identify -verbose '" + path + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    ::pclose(pipe);
    return output;
}

// The colour in the middle of a thumbnail, as red/green/blue bytes near the picture's.
bool isColor(const fipSuperImage& image, RGBQUAD color) {
    RGBQUAD got{};
    if (!image.isValid() ||
        !image.getPixelColor(image.getWidth() / 2, image.getHeight() / 2, &got)) {
        return false;
    }
    auto near = [](int a, int b) { return std::abs(a - b) <= 8; };
    return near(got.rgbRed, color.rgbRed) && near(got.rgbGreen, color.rgbGreen) &&
           near(got.rgbBlue, color.rgbBlue);
}

class ThumbnailCacheTest : public ::testing::Test {
protected:
    ThumbnailCacheTest() { fs::create_directories(m_pictures); }

    std::string picture(const std::string& name) const { return m_pictures + "/" + name; }

    ImagingService m_imaging;
    TempDir m_tmp;
    const std::string m_pictures = m_tmp.file("pictures");
    const std::string m_root = m_tmp.file("cache/thumbnails");
    const std::shared_ptr<ThumbnailCache> m_cache = std::make_shared<ThumbnailCache>(m_root);
    const CachedThumbnailMaker m_maker{m_cache};
};

TEST_F(ThumbnailCacheTest, MadeThumbnailIsWrittenForOtherProgramsAndReadBack) {
    const std::string file = picture("a b\xC3\xA9.png");
    writeOldPicture(file, 300, 200, kRed);

    // Several list workers at once.
    std::vector<Thumbnail> made(3);
    std::vector<std::thread> workers;
    for (Thumbnail& t : made) {
        workers.emplace_back([&] { t = m_maker(file, 85, 85); });
    }
    for (std::thread& w : workers) {
        w.join();
    }
    for (const Thumbnail& t : made) {
        EXPECT_EQ(t.image.getWidth(), 85u);
        EXPECT_EQ(t.image.getHeight(), 57u);
        EXPECT_EQ(t.photoWidth, 300u);
        EXPECT_EQ(t.photoHeight, 200u);
        EXPECT_TRUE(isColor(t.image, kRed));
    }
    m_cache->waitUntilWritten();

    // Named the way other programs look it up.
    EXPECT_EQ(platform::md5Hex("file:///home/jens/photos/me.png"),
              "c6ee772d9e49320e97ec29a7eb5b1697");
    const std::string uri = "file://" + m_pictures + "/a%20b%C3%A9.png";
    const std::string entry = m_root + "/normal/" + platform::md5Hex(uri) + ".png";
    EXPECT_EQ(m_cache->entryPath(file, 128), entry);
    ASSERT_TRUE(fs::is_regular_file(entry));
    EXPECT_EQ(modeOf(m_root), 0700u);
    EXPECT_EQ(modeOf(m_root + "/normal"), 0700u);
    EXPECT_EQ(modeOf(entry), 0600u);
    const std::string facts = identify(entry);
    EXPECT_NE(facts.find("Thumb::URI: " + uri + "\n"), std::string::npos) << facts;
    EXPECT_NE(facts.find("Thumb::MTime: " + std::to_string(mtimeOf(file)) + "\n"),
              std::string::npos);
    EXPECT_NE(facts.find("Thumb::Size: " + std::to_string(fs::file_size(file)) + "\n"),
              std::string::npos);
    EXPECT_NE(facts.find("Thumb::Image::Width: 300\n"), std::string::npos);
    EXPECT_NE(facts.find("Thumb::Image::Height: 200\n"), std::string::npos);
    EXPECT_NE(facts.find("Geometry: 128x85+0+0"), std::string::npos);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_root + "/normal"), fs::directory_iterator()),
              1);

    // The next visit shows the cached picture: other pixels under the same last write stay red.
    replaceKeepingMtime(file, kBlue, FIF_PNG);
    const Thumbnail again = m_maker(file, 60, 60);
    EXPECT_TRUE(isColor(again.image, kRed));
    EXPECT_EQ(again.image.getWidth(), 60u);
    EXPECT_EQ(again.image.getHeight(), 40u);
    EXPECT_EQ(again.image.getBPP(), 32u);
    EXPECT_EQ(again.photoWidth, 300u);
    EXPECT_EQ(again.photoHeight, 200u);
}

TEST_F(ThumbnailCacheTest, EntryOfAnotherLastWriteIsRemadeAndRewritten) {
    const std::string file = picture("photo.jpg");
    writeOldPicture(file, 300, 200, kRed, FIF_JPEG);
    const std::int64_t first = mtimeOf(file);
    const Thumbnail made = m_maker(file, 150, 150);
    EXPECT_EQ(made.image.getWidth(), 150u);
    EXPECT_EQ(made.image.getHeight(), 100u);
    m_cache->waitUntilWritten();
    // A box above 128 is served by the large pictures.
    EXPECT_NE(identify(m_cache->entryPath(file, 256)).find("Geometry: 256x171+0+0"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(m_cache->entryPath(file, 128)));

    writeOldPicture(file, 300, 200, kBlue, FIF_JPEG);
    setMtime(file, first + 100);
    EXPECT_TRUE(isColor(m_maker(file, 150, 150).image, kBlue));
    m_cache->waitUntilWritten();
    const std::optional<Thumbnail> rewritten = m_cache->read(file, first + 100, 150, 150);
    ASSERT_TRUE(rewritten.has_value());
    EXPECT_TRUE(isColor(rewritten->image, kBlue));
    EXPECT_FALSE(m_cache->read(file, first, 150, 150).has_value());
}

TEST_F(ThumbnailCacheTest, BurstOfEntriesBeyondTheQueueIsAllWritten) {
    // Queued far faster than the writer stores them (a folder of photos on a busy machine):
    // none of them may be lost, the first ones of the folder least of all.
    Thumbnail made;
    ASSERT_TRUE(made.image.setSize(FIT_BITMAP, 256, 192, 32));
    made.photoWidth = 4000;
    made.photoHeight = 3000;
    std::vector<std::string> files;
    for (int i = 0; i < 300; ++i) {
        files.push_back(picture("IMG_" + std::to_string(i) + ".JPG"));
        m_cache->write(files.back(), 1000 + i, 12345, ThumbnailCache::kLargeSize, made);
    }
    m_cache->waitUntilWritten();
    for (const std::string& file : files) {
        EXPECT_TRUE(fs::is_regular_file(m_cache->entryPath(file, ThumbnailCache::kLargeSize)))
            << file;
    }
}

TEST_F(ThumbnailCacheTest, FileThatCannotBeThumbnailedIsNotRetriedWhileUnchanged) {
    const std::string file = picture("broken.jpg");
    writeFile(file, "\xFF\xD8\xFF\xE0 not really a picture");
    setMtime(file, std::time(nullptr) - 1000);
    const std::int64_t first = mtimeOf(file);
    const Thumbnail failed = m_maker(file, 85, 85);
    EXPECT_TRUE(failed.attempted);
    EXPECT_FALSE(failed.image.isValid());
    m_cache->waitUntilWritten();

    const std::string entry = m_cache->failEntryPath(file);
    EXPECT_EQ(entry.rfind(m_root + "/fail/tarnview-", 0), 0u) << entry;
    ASSERT_TRUE(fs::is_regular_file(entry));
    EXPECT_EQ(modeOf(entry), 0600u);
    const std::string facts = identify(entry);
    EXPECT_NE(facts.find("Thumb::URI: file://" + file + "\n"), std::string::npos) << facts;
    EXPECT_NE(facts.find("Thumb::MTime: " + std::to_string(first) + "\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_cache->entryPath(file, 128)));

    // A readable picture under the same last write is not looked at.
    replaceKeepingMtime(file, kRed, FIF_JPEG);
    const Thumbnail again = m_maker(file, 85, 85);
    EXPECT_TRUE(again.attempted);
    EXPECT_FALSE(again.image.isValid());
    // Once it changes it is tried again.
    setMtime(file, first + 100);
    EXPECT_TRUE(isColor(m_maker(file, 85, 85).image, kRed));
}

TEST_F(ThumbnailCacheTest, UnusableEntriesAndCacheFoldersStillGiveTheRightThumbnail) {
    const std::string file = picture("photo.png");
    writeOldPicture(file, 300, 200, kRed);
    const std::int64_t mtime = mtimeOf(file);
    const std::string uri = "file://" + file;
    const std::string entry = m_cache->entryPath(file, 128);
    fs::create_directories(fs::path(entry).parent_path());

    // Damaged: garbage, then a cut-off picture; each time the made one is written in its place.
    writeFile(entry, "\x89PNG\r\n\x1a\n garbage");
    EXPECT_TRUE(isColor(m_maker(file, 85, 85).image, kRed));
    m_cache->waitUntilWritten();
    ASSERT_TRUE(m_cache->read(file, mtime, 85, 85).has_value());
    const std::string whole = test::readFile(entry);
    writeFile(entry, whole.substr(0, whole.size() / 2));
    EXPECT_TRUE(isColor(m_maker(file, 85, 85).image, kRed));
    m_cache->waitUntilWritten();

    // Too big to be a thumbnail, though its keys fit: never decoded.
    writeOldPicture(entry, 600, 600, kBlue, FIF_PNG,
                    {{"Thumb::URI", uri}, {"Thumb::MTime", std::to_string(mtime)}});
    EXPECT_FALSE(m_cache->read(file, mtime, 85, 85).has_value());
    EXPECT_TRUE(isColor(m_maker(file, 85, 85).image, kRed));
    m_cache->waitUntilWritten();

    // Another user's entry is not trusted (only root can make one here).
    if (::geteuid() == 0) {
        writeOldPicture(entry, 120, 80, kBlue, FIF_PNG,
                        {{"Thumb::URI", uri}, {"Thumb::MTime", std::to_string(mtime)}});
        ASSERT_TRUE(m_cache->read(file, mtime, 85, 85).has_value());
        ASSERT_EQ(::chown(entry.c_str(), 4242, 4242), 0);
        EXPECT_FALSE(m_cache->read(file, mtime, 85, 85).has_value());
        EXPECT_TRUE(isColor(m_maker(file, 85, 85).image, kRed));
        m_cache->waitUntilWritten();
    }

    // A cache root that is a file: thumbnails are made, the file stays as it was.
    writeFile(m_tmp.file("plain"), "not a folder");
    const auto blocked = std::make_shared<ThumbnailCache>(m_tmp.file("plain"));
    EXPECT_TRUE(isColor(CachedThumbnailMaker(blocked)(file, 85, 85).image, kRed));
    blocked->waitUntilWritten();
    EXPECT_EQ(test::readFile(m_tmp.file("plain")), "not a folder");

    // Pictures inside the cache get no entries of their own.
    const std::string inside = m_root + "/normal/copy.png";
    writeOldPicture(inside, 300, 200, kRed);
    EXPECT_EQ(m_cache->cacheSizeFor(inside, 85, 85), 0u);
    EXPECT_TRUE(isColor(m_maker(inside, 85, 85).image, kRed));
    m_cache->waitUntilWritten();
    EXPECT_FALSE(fs::exists(m_cache->entryPath(inside, 128)));

    // A file written just now may change again within its second: it gets no entry yet.
    const std::string recent = picture("recent.png");
    writeOldPicture(recent, 300, 200, kRed);
    setMtime(recent, std::time(nullptr));
    EXPECT_TRUE(isColor(m_maker(recent, 85, 85).image, kRed));
    m_cache->waitUntilWritten();
    EXPECT_FALSE(fs::exists(m_cache->entryPath(recent, 128)));
}

TEST_F(ThumbnailCacheTest, SettingTurnsTheCacheOffForReadingAndWriting) {
    const std::string cached = picture("cached.png");
    writeOldPicture(cached, 300, 200, kRed);
    m_maker(cached, 85, 85);
    m_cache->waitUntilWritten();
    replaceKeepingMtime(cached, kBlue, FIF_PNG);

    // On unless turned off.
    writeFile(m_tmp.file("on.ini"), "[Thumb]\nThumbSizeWidth=85\n");
    const ThumbnailWorker::Maker on =
        listThumbnailMaker(SettingsStore(m_tmp.file("on.ini")), m_root);
    EXPECT_TRUE(isColor(on(cached, 85, 85).image, kRed));

    writeFile(m_tmp.file("off.ini"), "[Thumb]\nUseSharedCache=0\n");
    const ThumbnailWorker::Maker off =
        listThumbnailMaker(SettingsStore(m_tmp.file("off.ini")), m_root);
    EXPECT_TRUE(isColor(off(cached, 85, 85).image, kBlue));
    const std::string fresh = picture("fresh.png");
    writeOldPicture(fresh, 300, 200, kRed);
    EXPECT_TRUE(isColor(off(fresh, 85, 85).image, kRed));
    EXPECT_FALSE(fs::exists(m_cache->entryPath(fresh, 128)));
}

}  // namespace
}  // namespace tarn
