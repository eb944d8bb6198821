#include "viewer/prefetch_slot.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "imaging/imaging_service.h"
#include "page_files.h"

namespace tarn {
namespace {

using test::TempDir;

// A named pipe holds a loader inside its read until the test lets it go, so the slot can be
// looked at while it is certainly loading.
class HeldFile {
public:
    explicit HeldFile(std::string path) : m_path(std::move(path)) {
        m_made = ::mkfifo(m_path.c_str(), 0600) == 0;
    }
    bool made() const { return m_made; }
    const std::string& path() const { return m_path; }
    // Gives every open of the pipe an empty read until the slot stops loading (bounded).
    void release(const PrefetchSlot& slot) const {
        releaseWhile([&] { return slot.loading(); });
    }
    template <typename Condition>
    void releaseWhile(Condition holding) const {
        for (int i = 0; i < 2000 && holding(); ++i) {
            const int fd = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

private:
    std::string m_path;
    bool m_made = false;
};

class PrefetchSlotTest : public testing::Test {
protected:
    std::string picture(const std::string& name, unsigned width) {
        const std::string path = m_dir.file(name);
        EXPECT_TRUE(test::pictureImage(width, 9).save(path.c_str()));
        return path;
    }

    ImagingService m_service;
    TempDir m_dir;
};

TEST_F(PrefetchSlotTest, TakeHandsOverWhatWasReadAhead) {
    const std::string path = picture("next.png", 33);
    PrefetchSlot slot;
    std::atomic<int> calls{0};
    std::atomic<int> niceness{-100};
    const int ownNiceness = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    slot.preload(path, 0, [&] {
        niceness = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
        ++calls;
    });
    slot.wait();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(slot.loading());
    EXPECT_TRUE(slot.hasResult());
    EXPECT_EQ(slot.path(), path);
    EXPECT_EQ(slot.page(), 0);
    // The loader runs at the lowest priority; the test's own thread keeps its own.
    EXPECT_EQ(niceness, 19);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid())), ownNiceness);

    // Without the file the image can only come from the slot.
    std::filesystem::remove(path);
    std::optional<LoadedImage> taken = slot.take(path, 0);
    ASSERT_TRUE(taken.has_value());
    ASSERT_NE(taken->image, nullptr);
    EXPECT_EQ(taken->image->getWidth(), 33u);
    EXPECT_EQ(taken->pageCount, 1);
    // Taking empties the slot.
    EXPECT_FALSE(slot.hasResult());
    EXPECT_EQ(slot.path(), "");
    EXPECT_FALSE(slot.take(path, 0).has_value());
    EXPECT_EQ(calls, 1);
}

TEST_F(PrefetchSlotTest, TakeWaitsForTheLoaderOfThatFile) {
    const std::string path = m_dir.file("pages.tif");
    ASSERT_TRUE(test::writePages(path, 3));
    PrefetchSlot slot;
    slot.preload(path, 2);
    // No wait first: take must itself wait for the loader.
    std::optional<LoadedImage> taken = slot.take(path, 2);
    ASSERT_TRUE(taken.has_value());
    ASSERT_NE(taken->image, nullptr);
    EXPECT_EQ(taken->image->getWidth(), test::pageWidth(2));
    EXPECT_EQ(taken->pageCount, 3);
}

TEST_F(PrefetchSlotTest, TakeOfAnotherFileOrPageGivesNothingAndKeepsTheSlot) {
    const std::string path = m_dir.file("pages.tif");
    ASSERT_TRUE(test::writePages(path, 3));
    const std::string other = picture("other.png", 12);
    PrefetchSlot slot;
    slot.preload(path, 1);
    EXPECT_FALSE(slot.take(other, 1).has_value());
    EXPECT_FALSE(slot.take(path, 0).has_value());
    EXPECT_FALSE(slot.take("", 1).has_value());
    // Paths compare exactly on this host: another case is another file.
    const std::string upper = m_dir.file("PAGES.tif");
    EXPECT_FALSE(slot.take(upper, 1).has_value());
    EXPECT_EQ(slot.path(), path);
    EXPECT_EQ(slot.page(), 1);
    std::optional<LoadedImage> taken = slot.take(path, 1);
    ASSERT_TRUE(taken.has_value());
    ASSERT_NE(taken->image, nullptr);
    EXPECT_EQ(taken->image->getWidth(), test::pageWidth(1));
}

TEST_F(PrefetchSlotTest, PreloadOfWhatIsHeldLoadsNothingAgain) {
    const std::string path = picture("a.png", 20);
    const std::string other = picture("b.png", 30);
    PrefetchSlot slot;
    std::atomic<int> calls{0};
    const auto count = [&] { ++calls; };
    slot.preload(path, 0, count);
    slot.preload(path, 0, count);  // waits for the first, then finds it held
    slot.wait();
    EXPECT_EQ(calls, 1);
    // Another page of the same file is another read.
    slot.preload(path, 1, count);
    slot.wait();
    EXPECT_EQ(calls, 2);
    slot.preload(other, 0, count);
    slot.wait();
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(slot.take(path, 0).has_value());
    ASSERT_TRUE(slot.take(other, 0).has_value());
}

TEST_F(PrefetchSlotTest, UnreadableFileIsHeldAsNoImage) {
    const std::string path = m_dir.file("broken.png");
    test::writeFile(path, "not a picture");
    PrefetchSlot slot;
    slot.preload(path, 0);
    slot.wait();
    EXPECT_TRUE(slot.hasResult());
    std::optional<LoadedImage> taken = slot.take(path, 0);
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->image, nullptr);
}

TEST_F(PrefetchSlotTest, KeepAndDiscardAreRefusedWhileLoading) {
    const HeldFile held(m_dir.file("held"));
    ASSERT_TRUE(held.made());
    const std::string left = picture("left.png", 17);
    PrefetchSlot slot;
    std::atomic<int> calls{0};
    slot.preload(held.path(), 0, [&] { ++calls; });
    EXPECT_TRUE(slot.loading());
    auto copy = std::make_unique<fipSuperImage>(test::pictureImage(17, 9));
    EXPECT_FALSE(slot.keep(left, 0, 1, std::move(copy)));
    EXPECT_FALSE(slot.discard());
    EXPECT_TRUE(slot.loading());
    EXPECT_EQ(slot.path(), held.path());

    held.release(slot);
    slot.wait();
    EXPECT_FALSE(slot.loading());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(slot.keep(left, 0, 1, std::make_unique<fipSuperImage>(test::pictureImage(17, 9))));
    EXPECT_EQ(slot.path(), left);
    EXPECT_TRUE(slot.discard());
    EXPECT_EQ(slot.path(), "");
    EXPECT_FALSE(slot.hasResult());
    EXPECT_FALSE(slot.take(left, 0).has_value());
}

TEST_F(PrefetchSlotTest, KeptImageComesBackWithItsPageAndCount) {
    const std::string path = m_dir.file("gone.tif");
    PrefetchSlot slot;
    auto copy = std::make_unique<fipSuperImage>(test::pictureImage(40, 9));
    EXPECT_TRUE(slot.keep(path, 2, 5, std::move(copy)));
    EXPECT_FALSE(slot.keep(path, 0, 1, nullptr));  // nothing to keep leaves the slot alone
    EXPECT_FALSE(slot.take(path, 0).has_value());
    std::optional<LoadedImage> taken = slot.take(path, 2);
    ASSERT_TRUE(taken.has_value());
    ASSERT_NE(taken->image, nullptr);
    EXPECT_EQ(taken->image->getWidth(), 40u);
    EXPECT_EQ(taken->pageCount, 5);
}

TEST_F(PrefetchSlotTest, DestructionWaitsForTheLoader) {
    const HeldFile held(m_dir.file("held"));
    ASSERT_TRUE(held.made());
    std::atomic<int> calls{0};
    std::thread releaser;
    {
        PrefetchSlot slot;
        slot.preload(held.path(), 0, [&] { ++calls; });
        // The loader stays in its read until the releaser lets it go, after the slot has begun
        // to be destroyed; the destructor must block until the loader has stored its result and
        // reported, as a loader outliving the slot would write into freed memory.
        releaser = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            held.releaseWhile([&] { return calls == 0; });
        });
        EXPECT_EQ(calls, 0);
    }
    EXPECT_EQ(calls, 1);
    releaser.join();

    // And with a loader that finishes on its own.
    const std::string path = picture("plain.png", 50);
    {
        PrefetchSlot slot;
        slot.preload(path, 0, [&] { ++calls; });
    }
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace tarn
