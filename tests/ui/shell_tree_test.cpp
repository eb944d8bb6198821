#include "browser/shell_tree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <functional>

#include "app/app_context.h"
#include "app/system_image_lists.h"
#include "fakes/fake_mount_table.h"
#include "fakes/fake_special_folders.h"
#include "fakes/temp_dir.h"
#include "platform/system_icons.h"
#include "ui/ui_test_support.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using platform::ItemIdList;
using platform::ShellNamespace;
using test::flushEvents;
using test::pumpEvents;
using test::waitFor;

std::unique_ptr<platform::SpecialFolders> specialFoldersAt(const std::string& home) {
    auto special = std::make_unique<test::FakeSpecialFolders>();
    special->home = home;
    return special;
}

// A home folder of its own with a small tree, and a frame holding the folder tree.
struct TreeFixture {
    explicit TreeFixture(bool showHidden = false, bool withIcons = false, bool loopRunsFirst = true)
        : home(dir.file("home")) {
        if (loopRunsFirst) {
            activeLoop = std::make_unique<wxEventLoopActivator>(&loop);
        }
        for (const char* sub : {"Pictures/2024/summer", "Pictures/2023", "Pictures/.thumbs",
                                "Documents", "beta", "Alpha/inside", ".config/app"}) {
            fs::create_directories(fs::path(home) / sub);
        }
        test::writeFile(home + "/Pictures/photo.jpg", "not really");
        AppFolders folders;
        folders.settingsFile = dir.file("Config.ini");
        auto fakeMounts = std::make_unique<test::FakeMountTable>();
        mounts = fakeMounts.get();
        context =
            std::make_unique<AppContext>(folders, specialFoldersAt(home), std::move(fakeMounts));
        // No real volumes: the tree below Computer stays the same on every machine.
        context->shell = ShellNamespace(home, {});
        context->showHiddenFiles = showHidden;
        if (withIcons) {
            icons.attach();
        }
        frame = new wxFrame(nullptr, wxID_ANY, "tree", wxPoint(20, 20), wxSize(320, 480));
        tree = new CShellTree(frame, 137, *context, icons);
        flushEvents();  // the watcher starts with the loop's first round
        tree->setFolderSelectedHandler([this](const ItemIdList& folder) {
            handedOut.push_back(context->shell.pathOf(folder).empty()
                                    ? context->shell.displayName(folder)
                                    : context->shell.pathOf(folder));
        });
    }
    ~TreeFixture() {
        frame->Destroy();
        flushEvents();
        icons.detach();
    }

    ItemIdList id(const std::string& relative) const {
        return *context->shell.idFromPath(home + "/" + relative);
    }
    wxTreeItemId item(const std::string& relative) const {
        return tree->findNode(id(relative), false);
    }
    std::vector<std::string> childNames(const wxTreeItemId& parent) const {
        std::vector<std::string> names;
        wxTreeItemIdValue cookie;
        for (auto c = tree->GetFirstChild(parent, cookie); c.IsOk();
             c = tree->GetNextChild(parent, cookie)) {
            names.push_back(tree->GetItemText(c).utf8_string());
        }
        return names;
    }
    std::string selectedPath() const {
        const auto selected = tree->selectedFolder();
        return selected ? context->shell.pathOf(*selected) : std::string("<none>");
    }

    // The program builds its windows before its loop runs; tests run inside one so that
    // the watcher starts.
    wxGUIEventLoop loop;
    std::unique_ptr<wxEventLoopActivator> activeLoop;
    test::TempDir dir;
    std::string home;
    std::unique_ptr<AppContext> context;
    test::FakeMountTable* mounts = nullptr;  // owned by the context
    CSystemImageLists icons;
    wxFrame* frame = nullptr;
    CShellTree* tree = nullptr;
    std::vector<std::string> handedOut;
};

using Names = std::vector<std::string>;

TEST(ShellTree, StartsAtTheDesktopWithHomeAndComputerShown) {
    TreeFixture f;
    const wxTreeItemId root = f.tree->GetRootItem();
    ASSERT_TRUE(root.IsOk());
    EXPECT_EQ(f.tree->GetItemText(root), "Desktop");
    EXPECT_EQ(f.childNames(root), (Names{"Home", "Computer"}));
    const wxTreeItemId computer = f.tree->findNode(ShellNamespace::computer(), false);
    ASSERT_TRUE(computer.IsOk());
    EXPECT_TRUE(f.tree->IsExpanded(root));
    EXPECT_TRUE(f.tree->IsExpanded(computer));
    EXPECT_EQ(f.childNames(computer), (Names{"File System"}));
    // Home is listed only when it opens, but already shows that it has children.
    const wxTreeItemId home = f.tree->findNode(ShellNamespace::home(), false);
    EXPECT_FALSE(f.tree->IsExpanded(home));
    EXPECT_TRUE(f.tree->ItemHasChildren(home));
    EXPECT_EQ(f.tree->GetChildrenCount(home), 0u);

    EXPECT_EQ(f.tree->GetSelection(), root);
    EXPECT_TRUE(f.tree->selectedFolder() && f.tree->selectedFolder()->empty());
    EXPECT_FALSE(f.tree->canGoUp());
    EXPECT_FALSE(f.tree->selectParent());
    EXPECT_TRUE(f.handedOut.empty()) << "the first selection does not browse";
}

TEST(ShellTree, ExpandingListsSortedFoldersWithTheirIndicators) {
    TreeFixture f;
    const wxTreeItemId home = f.tree->findNode(ShellNamespace::home(), false);
    f.tree->Expand(home);
    EXPECT_EQ(f.childNames(home), (Names{"Alpha", "beta", "Documents", "Pictures"}));
    EXPECT_TRUE(f.tree->ItemHasChildren(f.item("Alpha")));
    EXPECT_FALSE(f.tree->ItemHasChildren(f.item("beta")));
    // Files and hidden folders never show.
    f.tree->Expand(f.item("Pictures"));
    EXPECT_EQ(f.childNames(f.item("Pictures")), (Names{"2023", "2024"}));
    // An empty folder loses its indicator once opened.
    const wxTreeItemId documents = f.item("Documents");
    f.tree->Expand(documents);
    EXPECT_FALSE(f.tree->ItemHasChildren(documents));
}

TEST(ShellTree, HiddenFoldersShowWhenAskedFor) {
    TreeFixture f(true);
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures")));
    f.tree->Expand(f.item("Pictures"));
    EXPECT_EQ(f.childNames(f.item("")),
              (Names{".config", "Alpha", "beta", "Documents", "Pictures"}));
    EXPECT_EQ(f.childNames(f.item("Pictures")), (Names{".thumbs", "2023", "2024"}));
    EXPECT_TRUE(f.tree->selectFolder(f.id(".config/app")));
}

TEST(ShellTree, SelectingADeepFolderExpandsItsParentsAndHandsItOut) {
    TreeFixture f;
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures/2024/summer")));
    EXPECT_EQ(f.selectedPath(), f.home + "/Pictures/2024/summer");
    EXPECT_TRUE(f.tree->IsExpanded(f.item("Pictures")));
    EXPECT_TRUE(f.tree->IsExpanded(f.item("Pictures/2024")));
    EXPECT_EQ(f.handedOut, (Names{f.home + "/Pictures/2024/summer"}));

    // The same place reached through File System lands on the node below Home.
    ItemIdList viaFileSystem = ShellNamespace::fileSystem();
    for (const auto& part : fs::path(f.home + "/Pictures/2023")) {
        if (part != "/") {
            viaFileSystem = viaFileSystem.joined(*ShellNamespace::childId(part.string()));
        }
    }
    ASSERT_TRUE(f.tree->selectFolder(viaFileSystem));
    EXPECT_EQ(f.tree->GetSelection(), f.item("Pictures/2023"));
    EXPECT_EQ(*f.tree->selectedFolder(), f.id("Pictures/2023"));

    // Selecting it again hands nothing out twice.
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures/2023")));
    EXPECT_EQ(f.handedOut.size(), 2u);
    // Unless the list went elsewhere in between.
    f.tree->listBrowsedElsewhere();
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures/2023")));
    EXPECT_EQ(f.handedOut.size(), 3u);

    EXPECT_TRUE(f.tree->selectFolder(ShellNamespace::computer()));
    EXPECT_EQ(f.handedOut.back(), "Computer");
}

TEST(ShellTree, FoldersThatCannotBeReachedAreRefused) {
    TreeFixture f;
    ASSERT_TRUE(f.tree->selectFolder(f.id("Documents")));
    EXPECT_FALSE(f.tree->selectFolder(f.id("no/such/folder")));
    EXPECT_FALSE(f.tree->selectFolder(f.id("Pictures/photo.jpg")));
    EXPECT_FALSE(f.tree->selectFolder(f.id("Pictures/.thumbs")));  // hidden
    EXPECT_FALSE(f.tree->selectFolder(ItemIdList::fromElement("?garbage")));
    EXPECT_EQ(f.selectedPath(), f.home + "/Documents");
    EXPECT_EQ(f.handedOut.size(), 1u);

    // A listed folder removed a moment ago, before its change is handled.
    ASSERT_TRUE(f.item("beta").IsOk());
    fs::remove(f.home + "/beta");
    EXPECT_FALSE(f.tree->selectFolder(f.id("beta")));
    EXPECT_FALSE(f.item("beta").IsOk());
    EXPECT_EQ(f.selectedPath(), f.home + "/Documents");
}

TEST(ShellTree, UpGoesToTheParentNodeUntilTheDesktop) {
    TreeFixture f;
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures/2024")));
    ASSERT_TRUE(f.tree->canGoUp());
    EXPECT_TRUE(f.tree->selectParent());
    EXPECT_EQ(f.selectedPath(), f.home + "/Pictures");
    EXPECT_TRUE(f.tree->selectParent());
    EXPECT_EQ(f.selectedPath(), f.home);
    EXPECT_TRUE(f.tree->selectParent());
    EXPECT_TRUE(f.tree->selectedFolder()->empty());
    EXPECT_FALSE(f.tree->canGoUp());
    EXPECT_FALSE(f.tree->selectParent());
    EXPECT_EQ(f.handedOut,
              (Names{f.home + "/Pictures/2024", f.home + "/Pictures", f.home, "Desktop"}));
}

TEST(ShellTree, SelectingASiblingCollapsesTheOldNode) {
    TreeFixture f;
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures")));
    f.tree->Expand(f.item("Pictures"));
    ASSERT_TRUE(f.tree->IsExpanded(f.item("Pictures")));
    ASSERT_TRUE(f.tree->selectFolder(f.id("Documents")));
    EXPECT_FALSE(f.tree->IsExpanded(f.item("Pictures")));
    // A node that is not a neighbour stays open.
    ASSERT_TRUE(f.tree->selectFolder(f.id("Alpha/inside")));
    f.tree->Expand(f.item("Alpha"));
    ASSERT_TRUE(f.tree->selectFolder(f.id("beta")));
    EXPECT_TRUE(f.tree->IsExpanded(f.item("Alpha")));
}

TEST(ShellTree, FoldersMadeOrRemovedOnDiskFollowInTheTree) {
    TreeFixture f;
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures/2024")));
    flushEvents();

    fs::create_directory(f.home + "/Pictures/000-new");
    test::writeFile(f.home + "/Pictures/notes.txt", "files are no nodes");
    // New folders go to the end, as on any refresh.
    EXPECT_TRUE(waitFor([&] {
        return f.childNames(f.item("Pictures")) == Names{"2023", "2024", "000-new"};
    })) << ::testing::PrintToString(f.childNames(f.item("Pictures")));

    fs::remove(f.home + "/Pictures/2023");
    EXPECT_TRUE(waitFor([&] {
        return f.childNames(f.item("Pictures")) == Names{"2024", "000-new"};
    })) << ::testing::PrintToString(f.childNames(f.item("Pictures")));

    fs::rename(f.home + "/Pictures/000-new", f.home + "/Pictures/renamed");
    EXPECT_TRUE(waitFor([&] {
        return f.childNames(f.item("Pictures")) == Names{"2024", "renamed"};
    })) << ::testing::PrintToString(f.childNames(f.item("Pictures")));

    // A listed folder emptied of sub-folders loses its indicator.
    f.tree->Expand(f.item("Pictures/2024"));
    fs::remove(f.home + "/Pictures/2024/summer");
    EXPECT_TRUE(waitFor([&] { return !f.tree->ItemHasChildren(f.item("Pictures/2024")); }));
    EXPECT_EQ(f.selectedPath(), f.home + "/Pictures/2024");
}

TEST(ShellTree, VolumesMountedOrUnmountedComeAndGoBelowComputer) {
    TreeFixture f;
    ASSERT_EQ(f.mounts->watchCount(), 1u);
    int changes = 0;
    f.tree->setVolumesChangedHandler([&] { ++changes; });
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures/2024")));
    const wxTreeItemId computer = f.tree->findNode(ShellNamespace::computer(), false);
    const std::string system = "/dev/sda1 / ext4 rw 0 0\n";

    f.mounts->announce(system + "/dev/sdb1 /media/me/STICK vfat rw 0 0\n");
    EXPECT_TRUE(waitFor([&] {
        return f.childNames(computer) == Names{"File System", "STICK"};
    })) << ::testing::PrintToString(f.childNames(computer));
    // Mounts that are no volumes leave the tree alone.
    f.mounts->announce(f.mounts->table + "tmpfs /run/user/1000 tmpfs rw 0 0\n");
    f.mounts->announce(system + "/dev/sdb1 /media/me/STICK vfat rw 0 0\n" +
                       "/dev/sdc1 /mnt/cam vfat rw 0 0\n");
    EXPECT_TRUE(waitFor([&] {
        return f.childNames(computer) == Names{"File System", "STICK", "cam"};
    })) << ::testing::PrintToString(f.childNames(computer));
    EXPECT_EQ(changes, 2);
    // Open nodes and the selection elsewhere stay as they were.
    EXPECT_TRUE(f.tree->IsExpanded(computer));
    EXPECT_TRUE(f.tree->IsExpanded(f.item("Pictures")));
    EXPECT_EQ(f.selectedPath(), f.home + "/Pictures/2024");

    // Unmounting the volume the selection sat on moves the selection to Computer.
    f.tree->SelectItem(f.tree->findNode(ShellNamespace::volume("/mnt/cam"), false));
    ASSERT_EQ(f.handedOut.back(), "/mnt/cam");
    f.mounts->announce(system + "/dev/sdb1 /media/me/STICK vfat rw 0 0\n");
    EXPECT_TRUE(waitFor([&] {
        return f.childNames(computer) == Names{"File System", "STICK"};
    })) << ::testing::PrintToString(f.childNames(computer));
    EXPECT_EQ(f.tree->GetSelection(), computer);
    EXPECT_EQ(f.handedOut.back(), "Computer");
    f.mounts->announce(system);
    EXPECT_TRUE(waitFor([&] { return f.childNames(computer) == Names{"File System"}; }))
        << ::testing::PrintToString(f.childNames(computer));
    EXPECT_EQ(changes, 4);
}

TEST(ShellTree, BuiltBeforeTheLoopRunsItStillFollowsTheDisk) {
    TreeFixture f(false, false, false);
    // Folders listed before the loop runs are watched once it does.
    ASSERT_TRUE(f.tree->selectFolder(f.id("Documents")));
    f.activeLoop = std::make_unique<wxEventLoopActivator>(&f.loop);
    flushEvents();
    fs::create_directory(f.home + "/zeta");
    EXPECT_TRUE(waitFor([&] { return f.item("zeta").IsOk(); }));
    // The selected folder is watched even while closed, and gets its indicator.
    EXPECT_FALSE(f.tree->ItemHasChildren(f.item("Documents")));
    fs::create_directory(f.home + "/Documents/new");
    EXPECT_TRUE(waitFor([&] { return f.item("Documents/new").IsOk(); }));
    EXPECT_TRUE(f.tree->ItemHasChildren(f.item("Documents")));
}

TEST(ShellTree, RemovingTheSelectedFolderSelectsItsParent) {
    TreeFixture f;
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures/2024/summer")));
    flushEvents();
    fs::remove_all(f.home + "/Pictures/2024");
    EXPECT_TRUE(waitFor([&] { return f.selectedPath() == f.home + "/Pictures"; }))
        << f.selectedPath();
    EXPECT_FALSE(f.item("Pictures/2024").IsOk());
    EXPECT_EQ(f.handedOut.back(), f.home + "/Pictures");

    // The same name made again is watched again once listed.
    fs::create_directories(f.home + "/Pictures/2024");
    ASSERT_TRUE(waitFor([&] { return f.item("Pictures/2024").IsOk(); }));
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures/2024")));
    flushEvents();
    fs::create_directory(f.home + "/Pictures/2024/autumn");
    EXPECT_TRUE(waitFor([&] { return f.item("Pictures/2024/autumn").IsOk(); }));
}

TEST(ShellTree, UnreadableFoldersAndDanglingLinksAreHarmless) {
    TreeFixture f;
    fs::create_directories(f.home + "/locked/sub");
    fs::create_directory_symlink(f.home + "/missing", f.home + "/dangling");
    fs::create_directory_symlink(f.home + "/Pictures", f.home + "/pictures-link");
    ::chmod((f.home + "/locked").c_str(), 0);

    fs::create_directories(f.home + "/vanishing/sub");
    ASSERT_TRUE(f.tree->selectFolder(f.id("Documents")));
    EXPECT_EQ(f.childNames(f.item("")),
              (Names{"Alpha", "beta", "Documents", "locked", "Pictures", "vanishing"}));
    // Root may read anything: the permission case holds only for ordinary users.
    if (::geteuid() != 0) {
        ASSERT_TRUE(f.tree->selectFolder(f.id("locked")));
        const wxTreeItemId locked = f.item("locked");
        f.tree->Expand(locked);
        EXPECT_EQ(f.tree->GetChildrenCount(locked), 0u);
        EXPECT_FALSE(f.tree->ItemHasChildren(locked));
        EXPECT_FALSE(f.tree->selectFolder(f.id("locked/sub")));
    }
    // A folder gone before its node opens cannot be listed either.
    const wxTreeItemId vanishing = f.item("vanishing");
    ASSERT_TRUE(f.tree->ItemHasChildren(vanishing));
    fs::remove_all(f.home + "/vanishing");
    f.tree->Expand(vanishing);
    EXPECT_EQ(f.tree->GetChildrenCount(vanishing), 0u);
    EXPECT_FALSE(f.tree->ItemHasChildren(vanishing));
    EXPECT_TRUE(waitFor([&] { return !f.item("vanishing").IsOk(); }));
    EXPECT_FALSE(f.tree->selectFolder(f.id("dangling")));
    EXPECT_FALSE(f.tree->selectFolder(f.id("pictures-link")));

    // Changes beside them are still followed.
    fs::create_directory(f.home + "/late");
    EXPECT_TRUE(waitFor([&] { return f.item("late").IsOk(); }));
    ::chmod((f.home + "/locked").c_str(), 0700);
}

TEST(ShellTree, ShowsSystemIconsWhenTheListExists) {
    TreeFixture f(false, true);
    if (f.icons.small() == nullptr) {
        GTEST_SKIP() << "no icon theme on this machine";
    }
    using platform::SystemIcon;
    using platform::systemIconIndex;
    EXPECT_EQ(f.tree->GetImageList(), f.icons.small());
    EXPECT_EQ(f.tree->GetItemImage(f.tree->GetRootItem()), systemIconIndex(SystemIcon::Desktop));
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures")));
    const wxTreeItemId pictures = f.item("Pictures");
    EXPECT_EQ(f.tree->GetItemImage(pictures), systemIconIndex(SystemIcon::Folder));
    EXPECT_EQ(f.tree->GetItemImage(pictures, wxTreeItemIcon_Selected),
              systemIconIndex(SystemIcon::FolderOpen));
    EXPECT_EQ(f.tree->GetItemImage(f.item("")), systemIconIndex(SystemIcon::Home));
}

TEST(ShellTree, ClickingTheSelectedNodeBrowsesBackAfterTheListWentElsewhere) {
    TreeFixture f;
    test::showAndWait(f.frame);
    ASSERT_TRUE(f.tree->selectFolder(f.id("Pictures")));
    f.tree->Collapse(f.item("Pictures"));
    flushEvents();
    wxRect rect;
    ASSERT_TRUE(f.tree->GetBoundingRect(f.item("Pictures"), rect, true));
    const wxPoint label = f.tree->ClientToScreen(rect.GetPosition() + wxPoint(5, rect.height / 2));
    wxUIActionSimulator sim;

    sim.MouseMove(label);
    pumpEvents();
    sim.MouseClick();
    EXPECT_TRUE(waitFor([&] { return f.tree->IsExpanded(f.item("Pictures")); }))
        << "a click opens the node";
    EXPECT_EQ(f.handedOut.size(), 1u) << "the list already shows it";

    f.tree->listBrowsedElsewhere();
    pumpEvents(600);  // not a double-click
    sim.MouseClick();
    EXPECT_TRUE(waitFor([&] { return f.handedOut.size() == 2; }));
    EXPECT_EQ(f.handedOut, (Names{f.home + "/Pictures", f.home + "/Pictures"}));
}

TEST(ShellTree, ARightClickRaisesOneContextMenuRequestAtTheCursor) {
    TreeFixture f;
    test::showAndWait(f.frame);
    int requests = 0;
    wxPoint where;
    f.tree->Bind(wxEVT_CONTEXT_MENU, [&](wxContextMenuEvent& e) {
        ++requests;
        where = e.GetPosition();
    });
    wxRect rect;
    ASSERT_TRUE(f.tree->GetBoundingRect(f.tree->GetRootItem(), rect, true));
    const wxPoint label = f.tree->ClientToScreen(rect.GetPosition() + wxPoint(5, rect.height / 2));
    wxUIActionSimulator sim;
    sim.MouseMove(label);
    pumpEvents();
    sim.MouseClick(wxMOUSE_BTN_RIGHT);
    EXPECT_TRUE(waitFor([&] { return requests > 0; }));
    flushEvents();
    EXPECT_EQ(requests, 1);
    EXPECT_LE(std::abs(where.x - label.x), 2);
    EXPECT_LE(std::abs(where.y - label.y), 2);
}

}  // namespace
}  // namespace tarn
