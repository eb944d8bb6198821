#include "browser/shell_tree_model.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "fakes/temp_dir.h"
#include "platform/system_icons.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using platform::ItemIdList;
using platform::ShellNamespace;
using test::TempDir;

std::vector<std::string> names(const std::vector<TreeChild>& children) {
    std::vector<std::string> out;
    for (const TreeChild& c : children) {
        out.push_back(c.name);
    }
    return out;
}

ItemIdList child(const std::string& name) {
    return *ShellNamespace::childId(name);
}

TEST(ShellTreeModelTest, ListsFoldersOnlySortedByNameIgnoringCase) {
    TempDir tmp;
    for (const char* d : {"beta", "Alpha", "alpha", "Gamma", "_x", "10"}) {
        fs::create_directory(tmp.path() / d);
    }
    test::writeFile(tmp.file("aaa.jpg"), "x");
    fs::create_directory(tmp.path() / "beta" / "inner");
    const ShellNamespace ns(tmp.path().string(), {});

    const auto listed = listTreeFolders(ns, ShellNamespace::home(), false);
    ASSERT_TRUE(listed);
    // Case-insensitive byte order; "Alpha" and "alpha" tie and fall back to bytes.
    EXPECT_EQ(names(*listed),
              (std::vector<std::string>{"10", "_x", "Alpha", "alpha", "beta", "Gamma"}));
    for (const TreeChild& c : *listed) {
        EXPECT_EQ(c.relative, child(c.name));
        EXPECT_EQ(c.path, (tmp.path() / c.name).string());
        EXPECT_EQ(c.icon, platform::systemIconIndex(platform::SystemIcon::Folder));
        EXPECT_EQ(c.hasSubFolders, c.name == "beta") << c.name;
    }
}

TEST(ShellTreeModelTest, HiddenFoldersOnlyWhenAsked) {
    TempDir tmp;
    fs::create_directory(tmp.path() / ".cache");
    fs::create_directory(tmp.path() / "visible");
    fs::create_directory(tmp.path() / "visible" / ".only-hidden-inside");
    const ShellNamespace ns(tmp.path().string(), {});

    EXPECT_EQ(names(*listTreeFolders(ns, ShellNamespace::home(), false)),
              (std::vector<std::string>{"visible"}));
    EXPECT_EQ(names(*listTreeFolders(ns, ShellNamespace::home(), true)),
              (std::vector<std::string>{".cache", "visible"}));
}

TEST(ShellTreeModelTest, VirtualFoldersKeepTheNamespaceOrder) {
    TempDir tmp;
    const ShellNamespace ns(tmp.path().string(), {{"/media/usb", "Stick"}, {"/mnt/a", ""}});

    const auto desktop = listTreeFolders(ns, ShellNamespace::desktop(), false);
    ASSERT_TRUE(desktop);
    EXPECT_EQ(names(*desktop), (std::vector<std::string>{"Home", "Computer"}));
    EXPECT_TRUE((*desktop)[1].path.empty());
    EXPECT_EQ(ShellNamespace::desktop().joined((*desktop)[1].relative), ShellNamespace::computer());

    const auto computer = listTreeFolders(ns, ShellNamespace::computer(), false);
    ASSERT_TRUE(computer);
    EXPECT_EQ(names(*computer), (std::vector<std::string>{"File System", "Stick", "a"}));
}

TEST(ShellTreeModelTest, UnlistableFoldersAndLinksAreHarmless) {
    TempDir tmp;
    fs::create_directory(tmp.path() / "locked");
    fs::create_directory(tmp.path() / "locked" / "sub");
    fs::create_directory(tmp.path() / "target");
    fs::create_directory_symlink(tmp.path() / "target", tmp.path() / "link-to-folder");
    fs::create_directory_symlink(tmp.path() / "missing", tmp.path() / "dangling");
    ::chmod((tmp.path() / "locked").c_str(), 0);
    const ShellNamespace ns(tmp.path().string(), {});

    const auto listed = listTreeFolders(ns, ShellNamespace::home(), false);
    ASSERT_TRUE(listed);
    // Links are shortcuts, not folders of the tree.
    EXPECT_EQ(names(*listed), (std::vector<std::string>{"locked", "target"}));
    if (::geteuid() != 0) {
        EXPECT_FALSE((*listed)[0].hasSubFolders);
        EXPECT_FALSE(listTreeFolders(ns, ShellNamespace::home().joined(child("locked")), false));
    }
    EXPECT_FALSE(listTreeFolders(ns, ShellNamespace::home().joined(child("gone")), false));
    EXPECT_FALSE(listTreeFolders(ns, ShellNamespace::home().joined(child("dangling")), false));
    ::chmod((tmp.path() / "locked").c_str(), 0700);
}

TEST(ShellTreeModelTest, RefreshPlanKeepsKnownChildrenDropsGoneAndAppendsNew) {
    const std::vector<ItemIdList> existing{child("a"), child("b"), child("c"), child("b")};
    std::vector<TreeChild> fresh(3);
    fresh[0].relative = child("new2");
    fresh[1].relative = child("c");
    fresh[2].relative = child("b");
    const ChildRefreshPlan plan = planChildRefresh(existing, fresh);
    // "a" vanished; the second node of "b" is a duplicate.
    EXPECT_EQ(plan.removed, (std::vector<std::size_t>{0, 3}));
    EXPECT_EQ(plan.added, (std::vector<std::size_t>{0}));

    const ChildRefreshPlan same = planChildRefresh({child("x")}, {fresh[1]});
    EXPECT_EQ(same.removed, (std::vector<std::size_t>{0}));
    EXPECT_EQ(same.added, (std::vector<std::size_t>{0}));
    EXPECT_TRUE(planChildRefresh({}, {}).removed.empty());
}

TEST(ShellTreeModelTest, AChangeRefreshesTheFolderHoldingTheEntry) {
    EXPECT_EQ(folderOfChangedEntry("/home/u/Pictures/new"), "/home/u/Pictures");
    EXPECT_EQ(folderOfChangedEntry("/home/u/Pictures/new/"), "/home/u/Pictures");
    EXPECT_EQ(folderOfChangedEntry("/etc"), "/");
    EXPECT_FALSE(folderOfChangedEntry("/"));
    EXPECT_FALSE(folderOfChangedEntry(""));
    EXPECT_FALSE(folderOfChangedEntry("relative/x"));
}

}  // namespace
}  // namespace tarn
