#include "browser/image_list_ctrl.h"
#include "imaging/image_fixtures.h"

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fakes/fake_special_folders.h"
#include "fakes/temp_dir.h"
#include "screen_grab.h"
#include "ui_test_support.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using test::flushEvents;
using test::pumpEvents;
using test::waitFor;
using test::writeFile;
using test::writePicture;

constexpr RGBQUAD kRed{0, 0, 255, 0};  // blue, green, red, reserved
constexpr RGBQUAD kBlue{255, 0, 0, 0};

struct Rgb {
    int r, g, b;
};

class ImageListCtrlTest : public ::testing::Test {
protected:
    ImageListCtrlTest() {
        fs::create_directories(m_tmp.file("home"));
        m_folders.settingsFile = m_tmp.file("Config.ini");
    }

    ~ImageListCtrlTest() override { close(); }

    void open(const wxSize& size = wxSize(600, 460), ThumbnailWorker::Maker maker = {}) {
        auto special = std::make_unique<test::FakeSpecialFolders>();
        special->home = m_tmp.file("home");
        m_context = std::make_unique<AppContext>(m_folders, std::move(special));
        m_icons.attach();
        m_frame = new wxFrame(nullptr, wxID_ANY, "list", wxPoint(0, 0), size);
        m_list = new CImageListCtrl(m_frame, CImageListCtrl::kControlId, *m_context, m_icons,
                                    std::move(maker));
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_list, 1, wxEXPAND);
        m_frame->SetSizer(sizer);
        test::showAndWait(m_frame);
        m_list->SetFocus();
        flushEvents();
    }

    void close() {
        if (m_frame != nullptr) {
            m_frame->Destroy();
            m_frame = nullptr;
            m_list = nullptr;
            flushEvents();
        }
    }

    std::string dir(const std::string& name) const { return m_tmp.file("home/" + name); }

    bool browse(const std::string& name) {
        const auto id = m_context->shell.idFromPath(dir(name));
        return id && m_list->browse(*id, kBrowseFromTree);
    }

    // Every item that wants a thumbnail has its answer and the worker is idle.
    bool waitForThumbnails() {
        return waitFor([this] {
            if (!m_list->thumbnailsIdle()) {
                return false;
            }
            for (int i = 0; i < m_list->model().count(); ++i) {
                if (m_list->model().item(i)->thumbnailPending) {
                    return false;
                }
            }
            return true;
        });
    }

    int indexOf(const std::string& name) {
        for (int i = 0; i < m_list->model().count(); ++i) {
            if (m_list->model().item(i)->displayName == name) {
                return i;
            }
        }
        return -1;
    }

    // What the list shows now, read back from the screen.
    wxImage grab() {
        const wxImage shown = test::grabClientArea(m_list);
        EXPECT_TRUE(shown.IsOk()) << "could not capture the screen";
        return shown;
    }

    static Rgb at(const wxImage& image, int x, int y) {
        return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
    }

    void click(int index, int modifiers = 0, wxEventType type = wxEVT_LEFT_DOWN) {
        const wxRect rect = m_list->itemRect(index);
        ASSERT_FALSE(rect.IsEmpty()) << index;
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2));
        event.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
        event.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
        event.SetEventObject(m_list);
        m_list->GetEventHandler()->ProcessEvent(event);
    }

    void key(int code, int modifiers = 0) {
        wxKeyEvent event(wxEVT_KEY_DOWN);
        event.m_keyCode = code;
        event.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
        event.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
        event.SetEventObject(m_list);
        m_list->GetEventHandler()->ProcessEvent(event);
    }

    void typeChar(wxChar c) {
        wxKeyEvent event(wxEVT_CHAR);
        event.m_keyCode = c;
        event.m_uniChar = c;
        event.SetEventObject(m_list);
        m_list->GetEventHandler()->ProcessEvent(event);
    }

    std::vector<int> selected() {
        std::vector<int> out;
        for (int i = 0; i < m_list->model().count(); ++i) {
            if (m_list->model().item(i)->selected) {
                out.push_back(i);
            }
        }
        return out;
    }

    // The folder watcher needs a running loop; pumping events runs this one.
    wxGUIEventLoop m_loop;
    wxEventLoopActivator m_activeLoop{&m_loop};
    test::TempDir m_tmp;
    AppFolders m_folders;
    std::unique_ptr<AppContext> m_context;
    CSystemImageLists m_icons;
    wxFrame* m_frame = nullptr;
    CImageListCtrl* m_list = nullptr;
};

TEST_F(ImageListCtrlTest, DrawsThumbnailsFramesAndSelectionOnTheGreyBackground) {
    fs::create_directories(dir("pics/sub"));
    writePicture(dir("pics/red.jpg"), 400, 300, kRed);
    writeFile(dir("pics/notes.txt"), "text");
    writeFile(dir("pics/damaged.jpg"), "\xFF\xD8\xFF not a picture");
    open();
    ASSERT_TRUE(browse("pics"));
    EXPECT_EQ(m_frame->GetTitle(), "pics - Tarn Photo Viewer");
    ASSERT_TRUE(waitForThumbnails());

    const int red = indexOf("red.jpg");
    ASSERT_EQ(indexOf("sub"), 0);  // folders first
    {
        const FolderItem* item = m_list->model().item(red);
        ASSERT_TRUE(item->thumbnail);
        EXPECT_EQ(FreeImage_GetWidth(item->thumbnail.get()), 85u);
        EXPECT_EQ(item->photoWidth, 400);
        EXPECT_EQ(item->photoHeight, 300);
        // The damaged one keeps its icon.
        EXPECT_FALSE(m_list->model().item(indexOf("damaged.jpg"))->thumbnail);
    }

    click(red);
    ASSERT_EQ(selected(), std::vector<int>{red});
    const wxImage shot = grab();
    const CellGeometry& g = m_list->geometry();
    const wxRect cell = m_list->itemRect(red);
    // An 85 x 63 picture centred in the picture area, a 3-pixel white frame, then the band.
    const int left = cell.x + (g.cellWidth - 85) / 2;
    const int top = cell.y + (g.pictureAreaHeight() - 63) / 2;
    const Rgb middle = at(shot, left + 40, top + 30);
    EXPECT_GT(middle.r, 200);
    EXPECT_LT(middle.g, 60);
    EXPECT_LT(middle.b, 60);
    const Rgb frame = at(shot, left - 2, top + 30);
    EXPECT_EQ(frame.r, 255);
    EXPECT_EQ(frame.g, 255);
    EXPECT_EQ(frame.b, 255);
    const Rgb band = at(shot, left - 5, top + 30);
    const bool focused = m_list->HasFocus();
    EXPECT_EQ(band.r, focused ? 0x50 : 0x73);
    EXPECT_EQ(band.g, focused ? 0x50 : 0x73);
    EXPECT_EQ(band.b, focused ? 0x64 : 0x78);
    // The label strip of a selected item has the selection colour at its edge.
    const Rgb label = at(shot, cell.x + g.cellWidth / 2, cell.GetBottom() - 1);
    EXPECT_NE(label.r == 0x8A && label.g == 0x8A && label.b == 0x8A, true);
    // Around the cells: the background grey.
    const wxSize client = m_list->GetClientSize();
    const Rgb corner = at(shot, client.x - 2, client.y - 2);
    EXPECT_EQ(corner.r, 0x8A);
    EXPECT_EQ(corner.g, 0x8A);
    EXPECT_EQ(corner.b, 0x8A);
    // An unselected icon cell: a light grey outline around the box, no band.
    const wxRect text = m_list->itemRect(indexOf("notes.txt"));
    const int boxLeft = text.x + (g.cellWidth - g.boxWidth) / 2;
    const int outlineX = boxLeft - (frameThickness(32) + 3);
    const Rgb outline = at(shot, outlineX, text.y + g.pictureAreaHeight() / 2);
    EXPECT_EQ(outline.r, 0xC8);
    EXPECT_EQ(outline.b, 0xC8);
}

TEST_F(ImageListCtrlTest, AnEmptyFolderSaysSoAndAnUnreadableOneIsNotEntered) {
    fs::create_directories(dir("empty"));
    fs::create_directories(dir("locked"));
    writeFile(dir("locked/a.txt"), "x");
    open();
    ASSERT_TRUE(browse("empty"));
    EXPECT_EQ(m_list->model().count(), 0);
    const wxImage shot = grab();
    // White text in the band 10 pixels below the top, centred.
    int white = 0;
    for (int y = 8; y < 30; ++y) {
        for (int x = 0; x < shot.GetWidth(); ++x) {
            const Rgb p = at(shot, x, y);
            white += (p.r > 230 && p.g > 230 && p.b > 230) ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(at(shot, 2, 2).r, 0x8A);
    EXPECT_EQ(at(shot, shot.GetWidth() / 2, 60).r, 0x8A);

    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(dir("locked").c_str(), 0), 0);
        EXPECT_FALSE(browse("locked"));
        EXPECT_EQ(m_list->model().folderPath(), dir("empty"));
        ::chmod(dir("locked").c_str(), 0755);
    }
}

TEST_F(ImageListCtrlTest, ClicksAndKeysSelectAndMoveTheFocusLikeAListView) {
    fs::create_directories(dir("files"));
    for (const char* name : {"a", "b", "c", "d", "e1", "e2", "f", "g", "h", "i", "j", "k"}) {
        writeFile(dir(std::string("files/") + name + ".txt"), name);
    }
    open(wxSize(340, 460));  // three columns of 105
    int statusCalls = 0;
    std::vector<int> focusChanges;
    m_list->setStatusHandler([&] { ++statusCalls; });
    m_list->setFocusChangeHandler([&](int index) { focusChanges.push_back(index); });
    ASSERT_TRUE(browse("files"));
    ASSERT_EQ(m_list->columns(), 3);
    EXPECT_EQ(m_list->model().focusedIndex(), 0);
    EXPECT_TRUE(selected().empty());

    click(3);
    EXPECT_EQ(selected(), std::vector<int>{3});
    EXPECT_EQ(m_list->model().focusedIndex(), 3);
    click(5, wxMOD_CONTROL);
    EXPECT_EQ(selected(), (std::vector<int>{3, 5}));
    EXPECT_EQ(m_list->model().focusedIndex(), 5);
    click(3, wxMOD_CONTROL);  // toggles off
    EXPECT_EQ(selected(), std::vector<int>{5});
    click(1, wxMOD_SHIFT);  // from the first selected to the clicked one
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(m_list->model().focusedIndex(), 1);

    key(WXK_RIGHT);
    EXPECT_EQ(selected(), std::vector<int>{2});
    key(WXK_DOWN);
    EXPECT_EQ(selected(), std::vector<int>{5});
    key(WXK_LEFT, wxMOD_SHIFT);
    key(WXK_LEFT, wxMOD_SHIFT);
    EXPECT_EQ(selected(), (std::vector<int>{3, 4, 5}));
    key(WXK_RIGHT, wxMOD_CONTROL);  // focus only
    EXPECT_EQ(m_list->model().focusedIndex(), 4);
    EXPECT_EQ(selected(), (std::vector<int>{3, 4, 5}));
    key(WXK_END);
    EXPECT_EQ(selected(), std::vector<int>{11});
    EXPECT_FALSE(m_list->itemRect(11).IsEmpty());  // scrolled into view
    key(WXK_HOME);
    EXPECT_EQ(selected(), std::vector<int>{0});
    EXPECT_FALSE(m_list->itemRect(0).IsEmpty());
    key(WXK_PAGEDOWN);
    EXPECT_GT(m_list->model().focusedIndex(), 0);

    // Type-ahead: the next name after the focused one with that initial, wrapping round.
    typeChar('E');
    EXPECT_EQ(m_list->model().item(m_list->model().focusedIndex())->displayName, "e1.txt");
    typeChar('e');
    EXPECT_EQ(m_list->model().item(m_list->model().focusedIndex())->displayName, "e2.txt");
    typeChar('e');
    EXPECT_EQ(m_list->model().item(m_list->model().focusedIndex())->displayName, "e1.txt");
    EXPECT_EQ(selected().size(), 1u);
    typeChar('z');  // nothing starts with it: nothing changes
    EXPECT_EQ(m_list->model().item(m_list->model().focusedIndex())->displayName, "e1.txt");

    // While a label is being edited the list's own keys rest.
    const int before = m_list->model().focusedIndex();
    m_list->setLabelEditIndex(before);
    key(WXK_RIGHT);
    typeChar('a');
    key('A', wxMOD_CONTROL);
    EXPECT_EQ(m_list->model().focusedIndex(), before);
    EXPECT_EQ(selected().size(), 1u);
    m_list->setLabelEditIndex(-1);

    key('A', wxMOD_CONTROL);
    EXPECT_EQ(selected().size(), 12u);
    // A click on empty space clears the selection.
    wxMouseEvent empty(wxEVT_LEFT_DOWN);
    empty.SetPosition(wxPoint(330, 5));
    m_list->GetEventHandler()->ProcessEvent(empty);
    EXPECT_TRUE(selected().empty());

    // The status bar hears of it once the 100 ms timer has run out.
    statusCalls = 0;
    m_list->selectAllImages();
    m_list->invertSelection();
    EXPECT_EQ(statusCalls, 0);
    EXPECT_TRUE(waitFor([&] { return statusCalls > 0; }, 2000));
    EXPECT_EQ(statusCalls, 1);
    EXPECT_EQ(selected().size(), 12u);
    EXPECT_FALSE(focusChanges.empty());
}

TEST_F(ImageListCtrlTest, ARealClickSelectsTheItemUnderThePointer) {
    fs::create_directories(dir("files"));
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        writeFile(dir(std::string("files/") + name), name);
    }
    open();
    ASSERT_TRUE(browse("files"));
    const wxRect rect = m_list->itemRect(2);
    wxUIActionSimulator sim;
    const wxPoint target = m_list->ClientToScreen(wxPoint(rect.x + rect.width / 2, rect.y + 30));
    sim.MouseMove(target);
    ASSERT_TRUE(waitFor([&] { return wxGetMousePosition() == target; }));
    flushEvents();
    sim.MouseClick();
    EXPECT_TRUE(waitFor([&] { return selected() == std::vector<int>{2}; }, 2000));
}

TEST_F(ImageListCtrlTest, OpeningSendsImagesFoldersAndOtherFilesTheirOwnWays) {
    fs::create_directories(dir("mix/sub"));
    writePicture(dir("mix/photo.png"), 20, 20, kBlue, FIF_PNG);
    writeFile(dir("mix/readme.txt"), "x");
    open();
    std::vector<int> opened;
    std::vector<platform::ItemIdList> folders;
    std::vector<std::string> launched;
    m_list->setOpenHandler([&](int index) { opened.push_back(index); });
    m_list->setFolderOpenHandler([&](const platform::ItemIdList& id) { folders.push_back(id); });
    m_list->setFileLaunchHandler([&](const std::string& path) { launched.push_back(path); });
    ASSERT_TRUE(browse("mix"));

    const int photo = indexOf("photo.png");
    click(photo);
    key(WXK_RETURN);
    EXPECT_EQ(opened, std::vector<int>{photo});
    click(indexOf("sub"), 0, wxEVT_LEFT_DCLICK);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(m_context->shell.pathOf(folders[0]), dir("mix/sub"));
    click(indexOf("readme.txt"), 0, wxEVT_LEFT_DCLICK);
    EXPECT_EQ(launched, std::vector<std::string>{dir("mix/readme.txt")});

    // Without a folder handler the list enters the folder itself.
    m_list->setFolderOpenHandler({});
    m_list->openItem(indexOf("sub"));
    EXPECT_EQ(m_list->model().folderPath(), dir("mix/sub"));
}

TEST_F(ImageListCtrlTest, ChangesOnDiskShowUpAndABurstRefreshesAtMostOncePerPause) {
    fs::create_directories(dir("watched"));
    writeFile(dir("watched/first.txt"), "x");
    open();
    ASSERT_TRUE(browse("watched"));
    ASSERT_EQ(m_list->model().count(), 1);
    flushEvents();

    writeFile(dir("watched/added.txt"), "x");
    ASSERT_TRUE(waitFor([&] { return m_list->model().count() == 2; }, 5000));
    // Refresh appends: the new file comes last until the next sort.
    EXPECT_EQ(m_list->model().item(1)->displayName, "added.txt");
    EXPECT_EQ(m_list->watchRefreshCount(), 1);

    // Writing the file gave more than one change: the pause catches them up once, then a
    // second pause runs. Let both end, then a burst of fifty changes.
    pumpEvents(4500);
    EXPECT_LE(m_list->watchRefreshCount(), 2);
    const int before = m_list->watchRefreshCount();
    for (int i = 0; i < 50; ++i) {
        writeFile(dir("watched/burst" + std::to_string(i) + ".txt"), "x");
    }
    pumpEvents(1200);
    EXPECT_EQ(m_list->watchRefreshCount() - before, 1);
    pumpEvents(2500);
    EXPECT_EQ(m_list->watchRefreshCount() - before, 2);
    EXPECT_EQ(m_list->model().count(), 52);

    // The folder itself goes away: the list empties without trouble.
    fs::remove_all(dir("watched"));
    EXPECT_TRUE(waitFor([&] { return m_list->model().count() == 0; }, 6000));
}

TEST_F(ImageListCtrlTest, AShownFolderThatVanishesIsLeftForItsNearestParent) {
    fs::create_directories(dir("trip/day1/morning"));
    writeFile(dir("trip/day1/notes.txt"), "x");
    writeFile(dir("trip/day1/morning/a.txt"), "x");
    open();
    std::vector<std::string> offered;
    // A handler that does not browse (the tree already held that folder): the list goes anyway.
    m_list->setFolderGoneHandler([&](const platform::ItemIdList& folder) {
        offered.push_back(m_context->shell.pathOf(folder));
    });
    ASSERT_TRUE(browse("trip/day1/morning"));
    flushEvents();

    fs::remove_all(dir("trip/day1/morning"));
    ASSERT_TRUE(waitFor([&] { return m_list->model().folderPath() == dir("trip/day1"); }, 6000))
        << m_list->model().folderPath();
    EXPECT_EQ(offered, std::vector<std::string>{dir("trip/day1")});
    ASSERT_EQ(m_list->model().count(), 1);
    EXPECT_EQ(m_list->model().item(0)->displayName, "notes.txt");

    // Its parent went with it: the nearest one still there is taken.
    m_list->setFolderGoneHandler({});
    flushEvents();
    fs::remove_all(dir("trip"));
    EXPECT_TRUE(waitFor([&] { return m_list->model().folderPath() == m_tmp.file("home"); }, 6000))
        << m_list->model().folderPath();
    EXPECT_EQ(m_list->model().count(), 0);
}

TEST_F(ImageListCtrlTest, SwitchingFoldersQuicklyNeverShowsAnotherFoldersThumbnails) {
    fs::create_directories(dir("red"));
    fs::create_directories(dir("blue"));
    for (int i = 0; i < 12; ++i) {
        const std::string name = "p" + std::to_string(i) + ".jpg";
        writePicture(dir("red/" + name), 800, 600, kRed);
        writePicture(dir("blue/" + name), 800, 600, kBlue);
    }
    open();
    for (int round = 0; round < 6; ++round) {
        ASSERT_TRUE(browse(round % 2 == 0 ? "red" : "blue"));
        pumpEvents(15 * round);
    }
    ASSERT_EQ(m_list->model().folderPath(), dir("blue"));
    ASSERT_TRUE(waitForThumbnails());
    int checked = 0;
    for (int i = 0; i < m_list->model().count(); ++i) {
        const FolderItem* item = m_list->model().item(i);
        if (!item->thumbnail) {
            continue;  // scrolled out of view: not made
        }
        RGBQUAD c{};
        FreeImage_GetPixelColor(item->thumbnail.get(), 10, 10, &c);
        EXPECT_GT(c.rgbBlue, 200) << item->path;
        EXPECT_LT(c.rgbRed, 60) << item->path;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(ImageListCtrlTest, ScrollingQueuesTheNewRowsAheadOfOlderRequests) {
    fs::create_directories(dir("long"));
    for (int i = 0; i < 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%02d.jpg", i);
        writePicture(dir(std::string("long/") + name), 1600, 1200, kRed);
    }
    open(wxSize(340, 300));  // three columns, two rows
    ASSERT_TRUE(browse("long"));
    m_list->Update();
    const std::vector<std::string> first = m_list->queuedThumbnails();
    ASSERT_GT(first.size(), 3u);

    m_list->ensureVisible(59);
    m_list->Update();
    const std::vector<std::string> after = m_list->queuedThumbnails();
    const int shown = m_list->itemAt(wxPoint(5, 5));
    ASSERT_GE(shown, 40);
    // The worker keeps serving meanwhile, so look at what still waits: every request of the
    // new range stands before every older one, and older ones are still there.
    std::vector<bool> isNew;
    for (const std::string& path : after) {
        FolderItem* item = m_list->model().itemByPath(path);
        ASSERT_NE(item, nullptr);
        isNew.push_back(m_list->model().indexOf(item) >= shown);
    }
    ASSERT_FALSE(isNew.empty());
    EXPECT_TRUE(isNew.front()) << ::testing::PrintToString(after);
    EXPECT_TRUE(std::is_partitioned(isNew.begin(), isNew.end(), [](bool b) { return b; }))
        << ::testing::PrintToString(after);
    EXPECT_FALSE(isNew.back()) << ::testing::PrintToString(after);
}

TEST_F(ImageListCtrlTest, ANewBoxSizeRemakesTheShownThumbnails) {
    fs::create_directories(dir("sizes"));
    for (int i = 0; i < 4; ++i) {
        writePicture(dir("sizes/p" + std::to_string(i) + ".jpg"), 400, 300, kRed);
    }
    writePicture(dir("sizes/tiny.png"), 50, 40, kBlue, FIF_PNG);
    open(wxSize(700, 500));
    ASSERT_EQ(m_list->thumbSize(), wxSize(85, 85));
    ASSERT_TRUE(browse("sizes"));
    ASSERT_TRUE(waitForThumbnails());
    const auto widths = [&] {
        std::vector<unsigned> out;
        for (int i = 0; i < m_list->model().count(); ++i) {
            const FolderItem* item = m_list->model().item(i);
            out.push_back(item->thumbnail && !item->thumbnailPending
                              ? FreeImage_GetWidth(item->thumbnail.get())
                              : 0);
        }
        return out;
    };
    ASSERT_EQ(widths(), (std::vector<unsigned>{85, 85, 85, 85, 50}));

    // While the slider is dragged the cells take the new size at once, drawn from the
    // thumbnails at hand, and nothing is made again.
    m_list->setSizeTracking(true);
    m_list->setThumbSize(128, 128);
    EXPECT_EQ(m_list->geometry().cellWidth, 128 + 2 * (4 + 6) + 6);
    m_list->Refresh();
    m_list->Update();
    flushEvents();
    EXPECT_EQ(widths(), (std::vector<unsigned>{85, 85, 85, 85, 50}));

    m_list->setSizeTracking(false);
    EXPECT_TRUE(waitFor([&] {
        m_list->Refresh();
        return widths() == std::vector<unsigned>{128, 128, 128, 128, 50};
    })) << ::testing::PrintToString(widths());
    m_list->setThumbSize(999, 10);
    EXPECT_EQ(m_list->thumbSize(), wxSize(200, 36));
}

TEST_F(ImageListCtrlTest, SettingsAreReadWithinTheirRangesAndWrittenBack) {
    writeFile(m_folders.settingsFile,
              "[Thumb]\nThumbSizeWidth=500\nThumbSizeHeight=10\nSortType=9\nSortDirection=1\n");
    open();
    EXPECT_EQ(m_list->thumbSize(), wxSize(200, 36));
    EXPECT_EQ(m_list->model().sortKey(), kSortByPhotoSize);
    EXPECT_EQ(m_list->model().sortDirection(), kSortBackward);
    m_list->setThumbSize(64, 64);
    m_list->sortBy(kSortBySize);
    m_list->setSortDirection(kSortForward);
    close();
    EXPECT_EQ(m_context->settings.get(settings::kThumbSizeWidth), 64);
    EXPECT_EQ(m_context->settings.get(settings::kThumbSizeHeight), 64);
    EXPECT_EQ(m_context->settings.get(settings::kSortType), kSortBySize);
    EXPECT_EQ(m_context->settings.get(settings::kSortDirection), kSortForward);
}

// Holds every thumbnail of a path containing "held" until released; makes the others at once.
class HeldMaker {
public:
    Thumbnail operator()(const std::string& path, unsigned width, unsigned height) {
        if (path.find("held") != std::string::npos) {
            std::unique_lock<std::mutex> lock(m_mutex);
            ++m_holding;
            m_changed.wait(lock, [this] { return m_released; });
        }
        return makeFileThumbnail(path, width, height);
    }
    int holding() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_holding;
    }
    void release() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_holding = 0;
    bool m_released = false;
};

TEST_F(ImageListCtrlTest, ADecodeThatNeverEndsHoldsUpNeitherAFolderSwitchNorClosing) {
    fs::create_directories(dir("slow"));
    fs::create_directories(dir("next"));
    writePicture(dir("slow/held.jpg"), 64, 48, kRed);
    for (int i = 0; i < 6; ++i) {
        writePicture(dir("next/p" + std::to_string(i) + ".jpg"), 64, 48, kBlue);
    }
    // Threads of earlier lists end with their decodes.
    ASSERT_TRUE(waitFor([] { return ThumbnailWorker::strayThreads() == 0; }));
    const auto maker = std::make_shared<HeldMaker>();
    open(wxSize(600, 460),
         [maker](const std::string& path, unsigned w, unsigned h) { return (*maker)(path, w, h); });
    ASSERT_TRUE(browse("slow"));
    ASSERT_TRUE(waitFor([&] { return maker->holding() == 1; }));
    // The new folder shows with its thumbnails while a worker is still inside the old decode.
    ASSERT_TRUE(browse("next"));
    ASSERT_TRUE(waitForThumbnails());
    for (int i = 0; i < m_list->model().count(); ++i) {
        EXPECT_TRUE(m_list->model().item(i)->thumbnail) << m_list->model().item(i)->path;
    }
    // Closing does not wait for it either, and its late thumbnail goes nowhere.
    close();
    EXPECT_EQ(ThumbnailWorker::strayThreads(), 1);
    maker->release();
    EXPECT_TRUE(waitFor([] { return ThumbnailWorker::strayThreads() == 0; }));
}

}  // namespace
}  // namespace tarn
