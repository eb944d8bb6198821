#include "platform/mount_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"

namespace tarn::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

TEST(MountTableTest, VolumesFollowTheMountTableFile) {
    TempDir tmp;
    fs::create_directories(tmp.file("dev/by-label"));
    writeFile(tmp.file("dev/sdb1"), "");
    fs::create_symlink("../sdb1", tmp.file("dev/by-label/HOLIDAY"));
    const std::string mounts = tmp.file("mounts");
    const std::string system = "/dev/sda1 / ext4 rw 0 0\nproc /proc proc rw 0 0\n";
    writeFile(mounts, system);
    const LinuxMountTable table(mounts, tmp.file("dev/by-label"));

    ShellNamespace ns("/home/me", table.volumes());
    EXPECT_TRUE(ns.volumes().empty());
    EXPECT_FALSE(ns.setVolumes(table.volumes())) << "nothing was mounted";
    EXPECT_EQ(ns.idFromPath("/media/me/sdb1/DCIM")->elements()[1], "F");

    // A stick is mounted: its places go through it, by its label.
    writeFile(mounts, system + tmp.file("dev/sdb1") + " /media/me/sdb1 vfat rw 0 0\n" +
                          "/dev/sdc1 /mnt/cam vfat rw 0 0\n");
    ASSERT_TRUE(ns.setVolumes(table.volumes()));
    ASSERT_EQ(ns.volumes().size(), 2u);
    EXPECT_EQ(ns.displayName(ShellNamespace::volume("/media/me/sdb1")), "HOLIDAY");
    EXPECT_EQ(ns.displayName(ShellNamespace::volume("/mnt/cam")), "cam");
    const auto onStick = ns.idFromPath("/media/me/sdb1/DCIM");
    ASSERT_TRUE(onStick);
    EXPECT_EQ(onStick->parent(), ShellNamespace::volume("/media/me/sdb1"));
    EXPECT_FALSE(ns.setVolumes(table.volumes())) << "the same table again changes nothing";

    // The camera goes; the stick stays.
    writeFile(mounts, system + tmp.file("dev/sdb1") + " /media/me/sdb1 vfat rw 0 0\n");
    ASSERT_TRUE(ns.setVolumes(table.volumes()));
    ASSERT_EQ(ns.volumes().size(), 1u);
    EXPECT_EQ(ns.volumes()[0].mountPoint, "/media/me/sdb1");
    EXPECT_EQ(ns.idFromPath("/mnt/cam/x")->elements()[1], "F");

    // An unreadable table lists no volumes rather than failing.
    fs::remove(mounts);
    EXPECT_TRUE(table.volumes().empty());
}

TEST(MountTableTest, TheNearestListablePlaceSkipsWhatWentAndUnmountedVolumes) {
    TempDir tmp;
    const std::string stick = tmp.file("stick");
    fs::create_directories(stick + "/DCIM/2024");
    fs::create_directories(tmp.file("home/Pictures/trip"));
    ShellNamespace ns(tmp.file("home"), {{stick, "STICK", "/dev/sdb1"}});

    const ItemIdList year = *ns.idFromPath(stick + "/DCIM/2024");
    ASSERT_EQ(year.parent().parent(), ShellNamespace::volume(stick));
    EXPECT_EQ(ns.nearestListable(year), year);
    fs::remove(stick + "/DCIM/2024");
    EXPECT_EQ(ns.nearestListable(year), year.parent());
    const ItemIdList trip = *ns.idFromPath(tmp.file("home/Pictures/trip"));
    fs::remove_all(tmp.file("home/Pictures"));
    EXPECT_EQ(ns.nearestListable(trip), ShellNamespace::home());

    // Unmounted, the volume's places have gone although its folder is still there.
    ASSERT_TRUE(ns.setVolumes({}));
    EXPECT_TRUE(fs::is_directory(stick + "/DCIM"));
    EXPECT_EQ(ns.nearestListable(year), ShellNamespace::computer());
    EXPECT_EQ(ns.nearestListable(ShellNamespace::computer()), ShellNamespace::computer());
    EXPECT_EQ(ns.nearestListable(ShellNamespace::desktop()), ShellNamespace::desktop());
}

}  // namespace
}  // namespace tarn::platform
