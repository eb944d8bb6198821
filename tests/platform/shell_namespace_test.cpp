#include "platform/shell_namespace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "fakes/temp_dir.h"
#include "platform/system_icons.h"

namespace tarn::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

struct Child {
    std::string element, name, path;
    std::uint32_t attributes;
    std::uint64_t size;
};

std::vector<Child> list(const ShellNamespace& ns, const ItemIdList& folder, unsigned flags) {
    std::vector<Child> out;
    ns.enumerate(folder, flags, [&](const ChildInfo& c) {
        out.push_back({std::string(c.element), std::string(c.name), std::string(c.path),
                       c.attributes, c.size});
    });
    std::sort(out.begin(), out.end(),
              [](const Child& a, const Child& b) { return a.name < b.name; });
    return out;
}

ItemIdList throughFileSystem(const std::string& absolute) {
    ItemIdList id = ShellNamespace::fileSystem();
    for (const auto& part : fs::path(absolute)) {
        if (part == "/") {
            continue;
        }
        id = id.joined(*ShellNamespace::childId(part.string()));
    }
    return id;
}

TEST(ShellNamespaceTest, PicturesReachedThroughHomeAndThroughFileSystemCompareEqual) {
    TempDir tmp;
    const std::string home = tmp.file("home");
    fs::create_directories(home + "/Pictures");
    const ShellNamespace ns(home, {});

    const ItemIdList viaHome = ShellNamespace::home().joined(*ShellNamespace::childId("Pictures"));
    const ItemIdList viaFileSystem = throughFileSystem(home + "/Pictures");
    EXPECT_NE(viaHome, viaFileSystem);
    EXPECT_EQ(ns.compare(viaHome, viaFileSystem), 0);
    EXPECT_EQ(ns.canonical(viaFileSystem), viaHome);
    EXPECT_EQ(ns.idFromPath(home + "/Pictures/"), viaHome);
    EXPECT_EQ(ns.idFromPath(home + "//x/../Pictures/."), viaHome);
    EXPECT_EQ(ns.pathOf(viaHome), home + "/Pictures");
    EXPECT_EQ(ns.pathOf(viaFileSystem), home + "/Pictures");

    // Another place differs; the serial form of an identifier list survives a round trip.
    EXPECT_NE(ns.compare(viaHome, ShellNamespace::home()), 0);
    const auto back = ItemIdList::parse(viaHome.serialize());
    ASSERT_TRUE(back);
    EXPECT_EQ(ns.compare(back->first, viaFileSystem), 0);
}

TEST(ShellNamespaceTest, VolumesComeFromTheMountTable) {
    const std::string table =
        "/dev/sda1 / ext4 rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sdb1 /media/me/USB\\040STICK vfat rw 0 0\n"
        "/dev/sdc1 /run/media/me/CAM vfat rw 0 0\n"
        "/dev/sdd1 /mnt vfat rw 0 0\n"
        "/dev/sdb1 /media/me/USB\\040STICK vfat rw 0 0\n"
        "tmpfs /media tmpfs rw 0 0\n"
        "garbage\n";
    const auto volumes = volumesFromMountTable(table);
    ASSERT_EQ(volumes.size(), 3u);
    EXPECT_EQ(volumes[0].mountPoint, "/media/me/USB STICK");
    EXPECT_EQ(volumes[1].mountPoint, "/run/media/me/CAM");
    EXPECT_EQ(volumes[2].mountPoint, "/mnt");

    EXPECT_EQ(volumes[0].device, "/dev/sdb1");

    const ShellNamespace ns("/home/me", volumes);
    const auto onStick = ns.idFromPath("/media/me/USB STICK/DCIM");
    ASSERT_TRUE(onStick);
    EXPECT_EQ(onStick->parent(), ShellNamespace::volume("/media/me/USB STICK"));
    EXPECT_EQ(ns.displayName(onStick->parent()), "USB STICK");
    EXPECT_EQ(ns.pathOf(*onStick), "/media/me/USB STICK/DCIM");
    EXPECT_EQ(ns.idFromPath("/usr/share")->elements()[1], "F");
    EXPECT_EQ(ns.idFromPath("/"), ShellNamespace::fileSystem());
    EXPECT_EQ(ns.idFromPath("/home/me"), ShellNamespace::home());
    EXPECT_FALSE(ns.idFromPath("relative/path"));
    EXPECT_FALSE(ns.idFromPath(""));

    const auto computer = list(ns, ShellNamespace::computer(), kEnumFolders);
    ASSERT_EQ(computer.size(), 4u);
    EXPECT_EQ(computer[0].name, "CAM");
    EXPECT_EQ(computer[1].name, "File System");
    EXPECT_EQ(computer[1].path, "/");
}

TEST(ShellNamespaceTest, VolumeLabelsComeFromTheLabelLinks) {
    TempDir tmp;
    fs::create_directories(tmp.file("dev/by-label"));
    writeFile(tmp.file("dev/sdb1"), "");
    writeFile(tmp.file("dev/sdc1"), "");
    fs::create_symlink("../sdb1", tmp.file("dev/by-label/HOLIDAY\\x20PICS"));
    fs::create_symlink("../gone", tmp.file("dev/by-label/DANGLING"));
    std::vector<MountedVolume> volumes{{"/media/me/a", {}, tmp.file("dev/sdb1")},
                                       {"/media/me/b", {}, tmp.file("dev/sdc1")},
                                       {"/media/me/c", "Kept", tmp.file("dev/sdb1")}};
    labelVolumes(volumes, tmp.file("dev/by-label"));
    EXPECT_EQ(volumes[0].label, "HOLIDAY PICS");
    EXPECT_EQ(volumes[1].label, "");
    EXPECT_EQ(volumes[2].label, "Kept");
    const ShellNamespace ns("/home/me", volumes);
    EXPECT_EQ(ns.displayName(ShellNamespace::volume("/media/me/a")), "HOLIDAY PICS");
    EXPECT_EQ(ns.displayName(ShellNamespace::volume("/media/me/b")), "b");
    labelVolumes(volumes, tmp.file("missing"));  // no label folder: nothing changes
    EXPECT_EQ(volumes[0].label, "HOLIDAY PICS");
}

TEST(ShellNamespaceTest, VirtualFoldersNamesAndIcons) {
    TempDir tmp;
    const ShellNamespace ns(tmp.path().string(), {});
    const auto top = list(ns, ShellNamespace::desktop(), kEnumFolders | kEnumNonFolders);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].name, "Computer");
    EXPECT_EQ(top[0].attributes & kAttrFileSystem, 0u);
    EXPECT_EQ(top[1].name, "Home");
    EXPECT_EQ(top[1].path, tmp.path().string());
    EXPECT_EQ(top[1].attributes, kAttrFolder | kAttrFileSystem);

    EXPECT_EQ(ns.displayName(ShellNamespace::desktop()), "Desktop");
    EXPECT_EQ(ns.displayName(ShellNamespace::fileSystem()), "File System");
    EXPECT_EQ(ns.parsingName(ShellNamespace::computer()), "Computer");
    EXPECT_EQ(ns.parsingName(ShellNamespace::home()), tmp.path().string());
    EXPECT_EQ(ns.parseName("Computer"), ShellNamespace::computer());
    EXPECT_EQ(ns.parseName(tmp.path().string()), ShellNamespace::home());
    EXPECT_EQ(ns.pathOf(ShellNamespace::computer()), "");
    EXPECT_EQ(ns.iconIndex(ShellNamespace::home()), systemIconIndex(SystemIcon::Home));
    EXPECT_EQ(ns.iconIndex(ShellNamespace::fileSystem()), systemIconIndex(SystemIcon::Drive));
    EXPECT_EQ(ns.attributes(ShellNamespace::computer()) & kAttrFileSystem, 0u);
    EXPECT_TRUE(ns.canBind(ShellNamespace::desktop()));

    // Malformed lists resolve to nothing.
    const ItemIdList bad = ItemIdList::fromElement("Q");
    EXPECT_EQ(ns.pathOf(bad), "");
    EXPECT_FALSE(ns.canBind(bad));
    EXPECT_EQ(ns.attributes(bad), 0u);
    EXPECT_EQ(ns.pathOf(ShellNamespace::home().joined(ItemIdList::fromElement("N.."))), "");
    EXPECT_FALSE(ShellNamespace::childId("a/b"));
    EXPECT_FALSE(ShellNamespace::childId(".."));
}

TEST(ShellNamespaceTest, EnumerationAndAttributesOfFileSystemChildren) {
    TempDir tmp;
    const std::string dir = tmp.file("d");
    fs::create_directories(dir + "/sub/inner");
    fs::create_directories(dir + "/leaf");
    writeFile(dir + "/a.jpg", "12345");
    writeFile(dir + "/.hidden", "x");
    writeFile(dir + "/fav.LNK", "not really");
    fs::create_symlink(dir + "/sub", dir + "/tosub");
    fs::create_symlink(dir + "/nowhere", dir + "/dangling");
    fs::create_symlink(dir + "/loop2", dir + "/loop1");
    fs::create_symlink(dir + "/loop1", dir + "/loop2");
    const std::string odd = dir + "/bad\xff\xfe.jpg";
    writeFile(odd, "abc");

    const ShellNamespace ns("/nonexistent-home", {});
    const ItemIdList folder = *ns.idFromPath(dir);
    const auto all = list(ns, folder, kEnumFolders | kEnumNonFolders);
    std::vector<std::string> names;
    for (const auto& c : all) {
        names.push_back(c.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "bad\xff\xfe.jpg", "dangling", "fav.LNK",
                                               "leaf", "loop1", "loop2", "sub", "tosub"}));
    const auto byName = [&](const std::string& n) {
        return *std::find_if(all.begin(), all.end(), [&](const Child& c) { return c.name == n; });
    };
    EXPECT_EQ(byName("a.jpg").size, 5u);
    EXPECT_EQ(byName("a.jpg").attributes, kAttrFileSystem);
    EXPECT_EQ(byName("sub").attributes, kAttrFolder | kAttrFileSystem);
    EXPECT_EQ(byName("tosub").attributes, kAttrLink | kAttrFileSystem);
    EXPECT_EQ(byName("fav.LNK").attributes, kAttrLink | kAttrFileSystem);
    EXPECT_EQ(byName("loop1").attributes, kAttrLink | kAttrFileSystem);
    EXPECT_EQ(byName("sub").element, "Nsub");

    EXPECT_EQ(list(ns, folder, kEnumFolders).size(), 2u);
    const auto hidden = list(ns, folder, kEnumNonFolders | kEnumHidden);
    EXPECT_EQ(hidden.front().name, ".hidden");
    EXPECT_EQ(hidden.front().attributes, kAttrFileSystem | kAttrHidden);

    // A child's identifier names it and binds when it is a folder.
    const ItemIdList sub = folder.joined(ItemIdList::fromElement(byName("sub").element));
    EXPECT_EQ(ns.pathOf(sub), dir + "/sub");
    EXPECT_TRUE(ns.canBind(sub));
    EXPECT_EQ(ns.displayName(sub), "sub");
    EXPECT_EQ(ns.iconIndex(sub), systemIconIndex(SystemIcon::Folder));
    const std::uint32_t subAttrs = ns.attributes(sub);
    EXPECT_TRUE(subAttrs & kAttrHasSubFolders);
    EXPECT_TRUE(subAttrs & kAttrCanCopy);
    if (::geteuid() != 0) {
        EXPECT_TRUE(subAttrs & kAttrCanRename);
        EXPECT_TRUE(subAttrs & kAttrCanDelete);
        EXPECT_TRUE(subAttrs & kAttrCanMove);
    }
    EXPECT_FALSE(ns.attributes(*ns.idFromPath(dir + "/leaf")) & kAttrHasSubFolders);
    EXPECT_EQ(ns.attributes(*ns.idFromPath(dir + "/.hidden"), kAttrHidden), kAttrHidden);
    EXPECT_EQ(ns.attributes(*ns.idFromPath(dir + "/gone")), 0u);
    // Roots cannot be renamed, deleted or moved.
    EXPECT_EQ(ns.attributes(ShellNamespace::fileSystem(), kAttrCanRename | kAttrCanDelete), 0u);
}

TEST(ShellNamespaceTest, EntriesThatVanishWhileListingAreSkipped) {
    TempDir tmp;
    for (int i = 0; i < 50; ++i) {
        writeFile(tmp.file("f" + std::to_string(i)), "x");
    }
    const ShellNamespace ns("/nonexistent-home", {});
    int reported = 0;
    EXPECT_TRUE(ns.enumerate(*ns.idFromPath(tmp.path().string()), kEnumNonFolders,
                             [&](const ChildInfo& child) {
                                 if (reported++ == 0) {
                                     // Everything else goes while the listing runs.
                                     for (const auto& e : fs::directory_iterator(tmp.path())) {
                                         if (e.path().filename() != child.name) {
                                             fs::remove(e.path());
                                         }
                                     }
                                 }
                             }));
    EXPECT_EQ(reported, 1);
}

TEST(ShellNamespaceTest, UnreadableOrMissingFoldersDoNotBind) {
    TempDir tmp;
    const ShellNamespace ns("/nonexistent-home", {});
    EXPECT_FALSE(ns.canBind(*ns.idFromPath(tmp.file("missing"))));
    EXPECT_FALSE(
        ns.enumerate(*ns.idFromPath(tmp.file("missing")), kEnumFolders, [](const ChildInfo&) {}));
    writeFile(tmp.file("file"), "x");
    EXPECT_FALSE(ns.canBind(*ns.idFromPath(tmp.file("file"))));
    fs::create_directory(tmp.file("locked"));
    writeFile(tmp.file("locked/inside.jpg"), "x");
    ::chmod(tmp.file("locked").c_str(), 0);
    const ItemIdList locked = *ns.idFromPath(tmp.file("locked"));
    const auto check = [&] {
        return !ns.canBind(locked) &&
               !ns.enumerate(locked, kEnumNonFolders, [](const ChildInfo&) {});
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(check());
        return;
    }
    // Permissions do not stop root: look as an ordinary user from a child process.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && check();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace tarn::platform
