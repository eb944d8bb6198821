#include "browser/thumbnail_worker.h"
#include "imaging/image_fixtures.h"

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <future>
#include <mutex>
#include <thread>

#include "browser/info_tip.h"
#include "fakes/temp_dir.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using platform::ShellNamespace;
using test::TempDir;
using test::writeFile;
using test::writePicture;

// A thumbnail maker that records what it was asked for and, while closed, holds every call
// until the test opens it.
class GatedMaker {
public:
    Thumbnail operator()(const std::string& path, unsigned w, unsigned h) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_calls.push_back(path);
        m_boxes.push_back(w * 1000 + h);
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
        Thumbnail t;
        t.attempted = fs::exists(path);
        if (t.attempted) {
            t.image = fipImage(FIT_BITMAP, 4, 3, 32);
            t.photoWidth = 400;
            t.photoHeight = 300;
        }
        return t;
    }
    void open() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    // Waits until the maker has been called n times.
    bool waitForCalls(std::size_t n) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return m_calls.size() >= n; });
    }
    std::vector<std::string> calls() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    std::vector<unsigned> boxes() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_calls;
    std::vector<unsigned> m_boxes;
    bool m_open = false;
};

// The maker shared with the worker's threads, so that one left inside it by a stop or a folder
// switch finds it alive when the test is over.
ThumbnailWorker::Maker share(const std::shared_ptr<GatedMaker>& maker) {
    return
        [maker](const std::string& path, unsigned w, unsigned h) { return (*maker)(path, w, h); };
}

// Threads left inside a maker by earlier tests end once their maker opens.
bool waitForNoStrayThreads() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ThumbnailWorker::strayThreads() != 0 && std::chrono::steady_clock::now() < end) {
        std::this_thread::yield();
    }
    return ThumbnailWorker::strayThreads() == 0;
}

class ThumbnailWorkerTest : public ::testing::Test {
protected:
    ThumbnailWorkerTest()
        : m_shell(m_tmp.file("home"), {}), m_model(m_shell, ImageExtensions::fromFreeImage()) {
        fs::create_directories(m_tmp.file("home"));
        fs::create_directories(m_tmp.file("a"));
        fs::create_directories(m_tmp.file("b"));
    }

    std::string path(const std::string& folder, const std::string& name) const {
        return m_tmp.file(folder + "/" + name);
    }

    // Ten files 0.jpg .. 9.jpg (contents do not matter to the gated maker).
    void fillFolder(const std::string& folder) {
        for (int i = 0; i < 10; ++i) {
            writeFile(path(folder, std::to_string(i) + ".jpg"), "x");
        }
    }

    void browse(ThumbnailWorker& worker, const std::string& folder) {
        ASSERT_TRUE(m_model.browse(*m_shell.idFromPath(m_tmp.file(folder)), kBrowseFromTree, false,
                                   [&] { worker.clear(); }));
    }

    // What the list does on the worker thread: hands each result to the model's thread (here
    // the test's), which stores it in drain().
    ThumbnailWorker::Ready collect() {
        return [this](ThumbnailResult result) {
            const std::lock_guard<std::mutex> lock(m_inboxMutex);
            m_inbox.push_back(std::move(result));
            m_inboxChanged.notify_all();
        };
    }

    // Stores the results handed back so far; the indices stored go to m_ready.
    void drain(ThumbnailWorker& worker) {
        std::deque<ThumbnailResult> arrived;
        {
            const std::lock_guard<std::mutex> lock(m_inboxMutex);
            arrived.swap(m_inbox);
        }
        for (ThumbnailResult& result : arrived) {
            const int index = worker.store(m_model, std::move(result));
            if (index >= 0) {
                m_ready.push_back(index);
            }
        }
    }

    bool waitForResults(std::size_t n) {
        std::unique_lock<std::mutex> lock(m_inboxMutex);
        return m_inboxChanged.wait_for(lock, std::chrono::seconds(10),
                                       [&] { return m_inbox.size() >= n; });
    }

    // Stores results as they come until the worker has nothing left.
    bool waitIdle(ThumbnailWorker& worker) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            drain(worker);
            if (worker.idle()) {
                return true;
            }
            std::unique_lock<std::mutex> lock(m_inboxMutex);
            m_inboxChanged.wait_for(lock, std::chrono::milliseconds(10),
                                    [&] { return !m_inbox.empty(); });
        }
        return false;
    }

    ImagingService m_imaging;
    TempDir m_tmp;
    ShellNamespace m_shell;
    FolderModel m_model;
    std::mutex m_inboxMutex;
    std::condition_variable m_inboxChanged;
    std::deque<ThumbnailResult> m_inbox;
    // Indices of the items that got their thumbnail, in order.
    std::vector<int> m_ready;
};

TEST_F(ThumbnailWorkerTest, NewestRequestsAreServedFirstAndEachPathOnce) {
    fillFolder("a");
    const auto maker = std::make_shared<GatedMaker>();
    ThumbnailWorker worker(collect(), share(maker), 1);
    browse(worker, "a");
    worker.request(m_model, 0, 4);
    ASSERT_TRUE(maker->waitForCalls(1));
    {
        // 0 is being made and stays queued, so asking again does not add it twice.
        worker.request(m_model, 5, 9);
        worker.request(m_model, 0, 2);
        const std::vector<std::string> queued = worker.queued();
        ASSERT_EQ(queued.size(), 10u);
        EXPECT_EQ(queued.front(), path("a", "5.jpg"));
        EXPECT_EQ(queued[5], path("a", "0.jpg"));
    }
    maker->open();
    ASSERT_TRUE(waitIdle(worker));
    const std::vector<std::string> calls = maker->calls();
    ASSERT_EQ(calls.size(), 10u);
    EXPECT_EQ(calls[0], path("a", "0.jpg"));
    for (int i = 5; i <= 9; ++i) {
        EXPECT_EQ(calls[i - 4], path("a", std::to_string(i) + ".jpg"));
    }
    EXPECT_EQ(calls[6], path("a", "1.jpg"));

    for (int i = 0; i < m_model.count(); ++i) {
        const FolderItem& item = *m_model.item(i);
        EXPECT_FALSE(item.thumbnailPending) << item.path;
        ASSERT_TRUE(item.thumbnail) << item.path;
        EXPECT_EQ(item.photoWidth, 400);
        EXPECT_EQ(item.photoHeight, 300);
    }
    EXPECT_EQ(m_ready.size(), 10u);
    EXPECT_EQ(m_ready.front(), 0);
}

TEST_F(ThumbnailWorkerTest, AFolderSwitchNeverLetsAnOldThumbnailIntoTheNewItems) {
    fillFolder("a");
    // The new folder holds files of the same names.
    fillFolder("b");
    const auto maker = std::make_shared<GatedMaker>();
    ThumbnailWorker worker(collect(), share(maker), 4);
    browse(worker, "a");
    worker.request(m_model, 0, 9);
    ASSERT_TRUE(maker->waitForCalls(4));
    // The hand-over does not wait for the four thumbnails in hand, which come back too late.
    browse(worker, "b");
    maker->open();
    ASSERT_TRUE(waitIdle(worker));
    // Only those in hand were made; nothing of the old queue survived.
    EXPECT_EQ(maker->calls().size(), 4u);
    ASSERT_EQ(m_model.count(), 10);
    for (int i = 0; i < m_model.count(); ++i) {
        EXPECT_FALSE(m_model.item(i)->thumbnail) << m_model.item(i)->path;
        EXPECT_TRUE(m_model.item(i)->thumbnailPending);
        EXPECT_EQ(m_model.item(i)->photoWidth, 0);
    }
    EXPECT_TRUE(worker.queued().empty());
}

TEST_F(ThumbnailWorkerTest, ReBrowsingTheSameFolderStartsEveryThumbnailAfresh) {
    fillFolder("a");
    const auto maker = std::make_shared<GatedMaker>();
    ThumbnailWorker worker(collect(), share(maker));
    browse(worker, "a");
    worker.request(m_model, 0, 0);
    ASSERT_TRUE(maker->waitForCalls(1));
    // Same paths and file facts: the result in hand belongs to the earlier hand-over.
    browse(worker, "a");
    maker->open();
    ASSERT_TRUE(waitIdle(worker));
    EXPECT_FALSE(m_model.item(0)->thumbnail);
    EXPECT_TRUE(m_model.item(0)->thumbnailPending);
}

TEST_F(ThumbnailWorkerTest, AResultArrivingAfterTheFolderWasLeftIsNotStored) {
    fillFolder("a");
    fillFolder("b");
    const auto maker = std::make_shared<GatedMaker>();
    maker->open();
    ThumbnailWorker worker(collect(), share(maker));
    browse(worker, "a");
    worker.request(m_model, 0, 0);
    // Made and handed back, but the model's thread has not stored it yet.
    ASSERT_TRUE(waitForResults(1));
    EXPECT_FALSE(worker.idle());
    // Away and back again before it is stored: same path, same file, another hand-over.
    browse(worker, "b");
    browse(worker, "a");
    EXPECT_TRUE(worker.idle());
    drain(worker);
    EXPECT_TRUE(m_ready.empty());
    EXPECT_FALSE(m_model.item(0)->thumbnail);
    EXPECT_TRUE(m_model.item(0)->thumbnailPending);
    EXPECT_EQ(m_model.item(0)->photoWidth, 0);
    // Asked again, the item is served afresh.
    worker.request(m_model, 0, 0);
    ASSERT_TRUE(waitIdle(worker));
    EXPECT_TRUE(m_model.item(0)->thumbnail);
    EXPECT_EQ(maker->calls().size(), 2u);
}

TEST_F(ThumbnailWorkerTest, AFileRewrittenWhileItsThumbnailIsMadeGetsNoStalePicture) {
    writeFile(path("a", "0.jpg"), "x");
    const auto maker = std::make_shared<GatedMaker>();
    ThumbnailWorker worker(collect(), share(maker));
    browse(worker, "a");
    worker.request(m_model, 0, 0);
    ASSERT_TRUE(maker->waitForCalls(1));
    {
        // The file changes and a refresh replaces its record.
        writeFile(path("a", "0.jpg"), "rewritten");
        const struct timeval later[2] = {{2000000000, 0}, {2000000000, 0}};
        ASSERT_EQ(::utimes(path("a", "0.jpg").c_str(), later), 0);
        ASSERT_TRUE(m_model.refresh(false));
    }
    maker->open();
    ASSERT_TRUE(waitIdle(worker));
    {
        EXPECT_FALSE(m_model.item(0)->thumbnail);
        EXPECT_TRUE(m_model.item(0)->thumbnailPending);
        // Asked again, the fresh record gets its picture.
        worker.request(m_model, 0, 0);
    }
    ASSERT_TRUE(waitIdle(worker));
    EXPECT_TRUE(m_model.item(0)->thumbnail);
    EXPECT_EQ(maker->calls().size(), 2u);
}

TEST_F(ThumbnailWorkerTest, MissingFilesStayPendingAndTheBoxSizeReachesTheMaker) {
    writeFile(path("a", "gone.jpg"), "x");
    writeFile(path("a", "here.jpg"), "x");
    const auto maker = std::make_shared<GatedMaker>();
    maker->open();
    ThumbnailWorker worker(collect(), share(maker));
    browse(worker, "a");
    fs::remove(path("a", "gone.jpg"));
    worker.setBox(128, 100);
    worker.request(m_model, -5, 99);  // cut to the items
    ASSERT_TRUE(waitIdle(worker));
    EXPECT_EQ(maker->boxes(), (std::vector<unsigned>{128100, 128100}));
    const FolderItem* gone = m_model.itemByPath(path("a", "gone.jpg"));
    ASSERT_NE(gone, nullptr);
    EXPECT_TRUE(gone->thumbnailPending);
    EXPECT_FALSE(gone->thumbnail);
    EXPECT_FALSE(m_model.itemByPath(path("a", "here.jpg"))->thumbnailPending);
}

TEST_F(ThumbnailWorkerTest, RealPicturesGetThumbnailsAndDamagedOnesTheirIcon) {
    writePicture(path("a", "wide.jpg"), 640, 320, RGBQUAD{200, 40, 120, 0}, FIF_JPEG);
    writePicture(path("a", "small.png"), 20, 10, RGBQUAD{200, 40, 120, 0}, FIF_PNG);
    writeFile(path("a", "damaged.jpg"), std::string("\xFF\xD8\xFF\xE0 not really", 15));
    ThumbnailWorker worker(collect());
    browse(worker, "a");
    worker.request(m_model, 0, m_model.count() - 1);
    ASSERT_TRUE(waitIdle(worker));
    const FolderItem* wide = m_model.itemByPath(path("a", "wide.jpg"));
    ASSERT_TRUE(wide->thumbnail);
    EXPECT_EQ(FreeImage_GetWidth(wide->thumbnail.get()), 85u);
    EXPECT_EQ(FreeImage_GetHeight(wide->thumbnail.get()), 43u);
    EXPECT_EQ(wide->photoWidth, 640);
    EXPECT_EQ(wide->photoHeight, 320);
    const FolderItem* small = m_model.itemByPath(path("a", "small.png"));
    ASSERT_TRUE(small->thumbnail);
    EXPECT_EQ(FreeImage_GetWidth(small->thumbnail.get()), 20u);
    const FolderItem* damaged = m_model.itemByPath(path("a", "damaged.jpg"));
    EXPECT_FALSE(damaged->thumbnail);
    EXPECT_FALSE(damaged->thumbnailPending);
}

TEST_F(ThumbnailWorkerTest, StoppingDoesNotWaitForAThreadInsideTheMakerAndHandsNothingBack) {
    ASSERT_TRUE(waitForNoStrayThreads());
    fillFolder("a");
    const auto maker = std::make_shared<GatedMaker>();
    auto worker = std::make_unique<ThumbnailWorker>(collect(), share(maker), 1);
    browse(*worker, "a");
    worker->request(m_model, 0, 9);
    ASSERT_TRUE(maker->waitForCalls(1));
    // The maker stays closed: a stop that waited for it would never return.
    worker->stop();
    EXPECT_EQ(ThumbnailWorker::strayThreads(), 1);
    {
        worker->request(m_model, 0, 9);
        EXPECT_TRUE(worker->queued().empty());
        // A hand-over after the stop does not wait for a thread that has gone.
        worker->clear();
        EXPECT_TRUE(worker->queued().empty());
    }
    worker.reset();
    maker->open();
    EXPECT_TRUE(waitForNoStrayThreads());
    EXPECT_EQ(maker->calls().size(), 1u);
    // The late thumbnail never reached the owner that had stopped it.
    const std::lock_guard<std::mutex> lock(m_inboxMutex);
    EXPECT_TRUE(m_inbox.empty());
}

TEST_F(ThumbnailWorkerTest, RangesAreQueuedInTheOrderAskedAndServedByEveryThread) {
    fillFolder("a");
    const auto maker = std::make_shared<GatedMaker>();
    ThumbnailWorker worker(collect(), share(maker), 3);
    browse(worker, "a");
    // The shown rows, then the screen below, then the one above.
    worker.request(m_model, {IndexRange{4, 5}, IndexRange{6, 9}, IndexRange{0, 3}});
    ASSERT_TRUE(maker->waitForCalls(3));
    const std::vector<std::string> queued = worker.queued();
    ASSERT_EQ(queued.size(), 10u);
    EXPECT_EQ(queued[0], path("a", "4.jpg"));
    EXPECT_EQ(queued[2], path("a", "6.jpg"));
    EXPECT_EQ(queued[6], path("a", "0.jpg"));
    // The three threads took the three first paths at once.
    std::vector<std::string> first = maker->calls();
    std::sort(first.begin(), first.end());
    EXPECT_EQ(first, (std::vector<std::string>{path("a", "4.jpg"), path("a", "5.jpg"),
                                               path("a", "6.jpg")}));
    maker->open();
    ASSERT_TRUE(waitIdle(worker));
    EXPECT_EQ(maker->calls().size(), 10u);
    EXPECT_EQ(m_ready.size(), 10u);
}

TEST_F(ThumbnailWorkerTest, InfoTipsDescribeImagesFilesAndFolders) {
    writePicture(path("a", "photo.jpg"), 64, 48, RGBQUAD{200, 40, 120, 0}, FIF_JPEG);
    writeFile(path("a", "notes.txt"), std::string(1536, 'x'));
    fs::create_directory(path("a", "sub"));
    ThumbnailWorker worker(collect());
    browse(worker, "a");
    const FolderItem& photo = *m_model.itemByPath(path("a", "photo.jpg"));
    // The size is read from the header while the thumbnail is still missing.
    const std::string tip = infoTipText(photo, m_model.folderPath(), true);
    EXPECT_EQ(tip.rfind("Filename: photo.jpg\nFile Location: " + m_tmp.file("a") + "\nSize: ", 0),
              0u)
        << tip;
    EXPECT_NE(tip.find("\nModified Date: 20"), std::string::npos) << tip;
    EXPECT_NE(tip.find("\nImage Dimenstions: 64x48"), std::string::npos) << tip;

    const std::string text =
        infoTipText(*m_model.itemByPath(path("a", "notes.txt")), m_model.folderPath(), false);
    EXPECT_EQ(text.rfind("Filename: notes.txt\nSize: 1.50 KB\nModified Date: ", 0), 0u) << text;
    const std::string folder =
        infoTipText(*m_model.itemByPath(path("a", "sub")), m_model.folderPath(), false);
    EXPECT_EQ(folder.rfind("Filename: sub\nModified Date: ", 0), 0u) << folder;
    EXPECT_EQ(folder.find("Size"), std::string::npos);

    // A damaged image: the last line ends after its label.
    writeFile(path("a", "bad.jpg"), "nope");
    FolderItem bad;
    bad.kind = kKindImage;
    bad.displayName = "bad.jpg";
    bad.path = bad.targetPath = path("a", "bad.jpg");
    const std::string badTip = infoTipText(bad, m_model.folderPath(), true);
    EXPECT_EQ(badTip.substr(badTip.size() - 20), "\nImage Dimenstions: ");
}

}  // namespace
}  // namespace tarn
