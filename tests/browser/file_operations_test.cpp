#include "browser/file_operations.h"

#include <fcntl.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "fakes/temp_dir.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        const std::uint32_t word = random();
        std::memcpy(&bytes[i], &word, 4);
    }
    return bytes;
}

// The whole file in one read (big files are compared here).
std::string readFile(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) {
        return {};
    }
    std::string bytes(size, '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    return bytes;
}

// Every entry below a folder, as paths relative to it.
std::vector<std::string> entriesBelow(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(entry.path().lexically_relative(folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Answers conflicts as told and records what it was asked.
class ScriptedObserver : public FileOpObserver {
public:
    ConflictAnswer answer{ConflictChoice::Skip, false};
    std::vector<std::pair<std::string, std::string>> asked;
    std::vector<FileOpProgress> reports;
    std::function<bool()> cancelWhen;

    ConflictAnswer askConflict(const std::string& source, const std::string& target) override {
        asked.emplace_back(source, target);
        return answer;
    }
    void progress(const FileOpProgress& p) override { reports.push_back(p); }
    bool cancelRequested() const override { return cancelWhen && cancelWhen(); }
};

FileOpResult run(FileOpKind kind, std::vector<std::string> sources, const std::string& target,
                 FileOpObserver& observer, bool quiet = false) {
    return runFileOperation({kind, std::move(sources), target, quiet}, observer);
}

// A tmpfs of the given size, unmounted with the object.
class TmpfsMount {
public:
    TmpfsMount(const fs::path& where, const std::string& size) : m_where(where) {
        fs::create_directories(where);
        const std::string options = "size=" + size;
        m_mounted = ::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~TmpfsMount() {
        if (m_mounted) {
            ::umount2(m_where.c_str(), MNT_DETACH);
        }
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    bool mounted() const { return m_mounted; }

private:
    fs::path m_where;
    bool m_mounted = false;
};

// Sets a variable for the life of the object.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvironmentOverride() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(FileOperationsTest, NewFolderNamesAndCreation) {
    EXPECT_EQ(uniqueNewFolderName({}), "New Folder");
    EXPECT_EQ(uniqueNewFolderName({"a.jpg", "New Folder", "New Folder (2)"}), "New Folder (3)");
    // Case-insensitive, and every bump searches the whole list again.
    EXPECT_EQ(uniqueNewFolderName({"new folder (2)", "NEW FOLDER"}), "New Folder (3)");
    EXPECT_EQ(uniqueNewFolderName({"New Folder (3)", "New Folder"}), "New Folder (2)");

    const TempDir dir;
    std::string error;
    EXPECT_TRUE(createFolder(dir.path().string(), "New Folder", &error));
    EXPECT_TRUE(fs::is_directory(dir.file("New Folder")));
    writeFile(dir.file("New Folder/keep.txt"), "kept");
    EXPECT_FALSE(createFolder(dir.path().string(), "New Folder", &error));
    EXPECT_EQ(error, "File exists");
    EXPECT_EQ(readFile(dir.file("New Folder/keep.txt")), "kept");
    EXPECT_FALSE(createFolder(dir.path().string(), "a/b", &error));
    EXPECT_FALSE(createFolder(dir.file("missing"), "x", &error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST(FileOperationsTest, CopyKeepsContentsModesTimesAndLinks) {
    const TempDir dir;
    fs::create_directories(dir.file("from/album/inner"));
    fs::create_directories(dir.file("to"));
    const std::string photo = randomBytes(3'000'000, 1);
    writeFile(dir.file("from/photo.jpg"), photo);
    ::chmod(dir.file("from/photo.jpg").c_str(), 0640);
    const struct timespec times[2] = {{1'500'000'000, 0}, {1'600'000'000, 123}};
    ::utimensat(AT_FDCWD, dir.file("from/photo.jpg").c_str(), times, 0);
    writeFile(dir.file("from/album/inner/b.png"), "b");
    fs::create_symlink("../photo.jpg", dir.file("from/album/link"));

    ScriptedObserver observer;
    const FileOpResult result =
        run(FileOpKind::Copy, {dir.file("from/photo.jpg"), dir.file("from/album")}, dir.file("to"),
            observer);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.targets,
              (std::vector<std::string>{dir.file("to/photo.jpg"), dir.file("to/album")}));
    EXPECT_EQ(readFile(dir.file("to/photo.jpg")), photo);
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("to/photo.jpg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1'600'000'000);
    EXPECT_EQ(readFile(dir.file("to/album/inner/b.png")), "b");
    EXPECT_TRUE(fs::is_symlink(dir.file("to/album/link")));
    EXPECT_EQ(fs::read_symlink(dir.file("to/album/link")), "../photo.jpg");
    EXPECT_EQ(entriesBelow(dir.file("to")),
              (std::vector<std::string>{"album", "album/inner", "album/inner/b.png", "album/link",
                                        "photo.jpg"}));
    // Totals come first, and the last report has everything done.
    ASSERT_GE(observer.reports.size(), 2u);
    EXPECT_EQ(observer.reports.front().filesTotal, 3);
    EXPECT_EQ(observer.reports.front().bytesTotal, photo.size() + 1);
    EXPECT_EQ(observer.reports.back().filesDone, 3);
    EXPECT_EQ(observer.reports.back().bytesDone, photo.size() + 1);
    EXPECT_TRUE(observer.asked.empty());
}

TEST(FileOperationsTest, CopyingOverExistingNamesAsksAndDestroysNothing) {
    const TempDir dir;
    fs::create_directories(dir.file("from/album"));
    fs::create_directories(dir.file("to"));
    writeFile(dir.file("from/a.jpg"), "first a");
    writeFile(dir.file("from/album/b.jpg"), "first b");
    const std::vector<std::string> sources{dir.file("from/a.jpg"), dir.file("from/album")};
    ScriptedObserver observer;
    ASSERT_TRUE(run(FileOpKind::Copy, sources, dir.file("to"), observer).ok());

    // Again: each name that exists is asked about; Skip keeps what is there.
    writeFile(dir.file("from/a.jpg"), "second a");
    writeFile(dir.file("from/album/b.jpg"), "second b");
    FileOpResult result = run(FileOpKind::Copy, sources, dir.file("to"), observer);
    EXPECT_TRUE(result.ok());
    ASSERT_EQ(observer.asked.size(), 2u);
    EXPECT_EQ(observer.asked[0].second, dir.file("to/a.jpg"));
    EXPECT_EQ(observer.asked[1].second, dir.file("to/album"));
    EXPECT_EQ(readFile(dir.file("to/a.jpg")), "first a");
    EXPECT_EQ(readFile(dir.file("to/album/b.jpg")), "first b");

    // Replace for all: the folder merges and asks no more about what lies in it.
    observer.asked.clear();
    observer.answer = {ConflictChoice::Replace, true};
    result = run(FileOpKind::Copy, sources, dir.file("to"), observer);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(observer.asked.size(), 1u);
    EXPECT_EQ(readFile(dir.file("to/a.jpg")), "second a");
    EXPECT_EQ(readFile(dir.file("to/album/b.jpg")), "second b");

    // A paste into the files' own folder: asked, and Replace of an item by itself keeps it whole.
    observer.asked.clear();
    observer.answer = {ConflictChoice::Replace, false};
    result = run(FileOpKind::Copy, sources, dir.file("from"), observer);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(observer.asked.size(), 2u);
    EXPECT_EQ(readFile(dir.file("from/a.jpg")), "second a");
    EXPECT_EQ(readFile(dir.file("from/album/b.jpg")), "second b");
    EXPECT_EQ(entriesBelow(dir.file("from")),
              (std::vector<std::string>{"a.jpg", "album", "album/b.jpg"}));

    // Quiet replaces without asking; Cancel stops before the first item.
    observer.asked.clear();
    writeFile(dir.file("from/a.jpg"), "third a");
    EXPECT_TRUE(run(FileOpKind::Copy, sources, dir.file("to"), observer, true).ok());
    EXPECT_TRUE(observer.asked.empty());
    EXPECT_EQ(readFile(dir.file("to/a.jpg")), "third a");
    observer.answer = {ConflictChoice::Cancel, false};
    writeFile(dir.file("from/a.jpg"), "fourth a");
    result = run(FileOpKind::Copy, sources, dir.file("to"), observer);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(observer.asked.size(), 1u);
    EXPECT_EQ(readFile(dir.file("to/a.jpg")), "third a");
}

TEST(FileOperationsTest, RefusesAFolderIntoItselfAndMissingTargets) {
    const TempDir dir;
    fs::create_directories(dir.file("album/sub"));
    writeFile(dir.file("album/a.jpg"), "a");
    const std::string album = dir.file("album");
    EXPECT_NE(refusalOf({FileOpKind::Copy, {album}, dir.file("album/sub")}).find("\"album\""),
              std::string::npos);
    EXPECT_FALSE(refusalOf({FileOpKind::Move, {album}, album}).empty());
    // Another spelling of the same folder is seen through.
    EXPECT_FALSE(refusalOf({FileOpKind::Move, {album}, dir.file("album/sub/..")}).empty());
    EXPECT_FALSE(refusalOf({FileOpKind::Copy, {album}, dir.file("missing")}).empty());
    EXPECT_FALSE(refusalOf({FileOpKind::Copy, {}, dir.path().string()}).empty());
    EXPECT_TRUE(refusalOf({FileOpKind::Copy, {album}, dir.path().string()}).empty());
    EXPECT_TRUE(refusalOf({FileOpKind::Move, {dir.file("album/a.jpg")}, album}).empty());
    // A name that only starts like the folder's is another folder.
    fs::create_directories(dir.file("album2"));
    EXPECT_TRUE(refusalOf({FileOpKind::Copy, {album}, dir.file("album2")}).empty());

    ScriptedObserver observer;
    const FileOpResult result = run(FileOpKind::Copy, {album}, dir.file("album/sub"), observer);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(entriesBelow(album), (std::vector<std::string>{"a.jpg", "sub"}));
}

TEST(FileOperationsTest, AVanishedSourceIsReportedWhileTheOthersProceed) {
    const TempDir dir;
    fs::create_directories(dir.file("copied"));
    fs::create_directories(dir.file("moved"));
    writeFile(dir.file("a.jpg"), "a");
    writeFile(dir.file("c.jpg"), "c");
    const auto expectOneError = [](const FileOpResult& result, const std::string& path) {
        ASSERT_EQ(result.errors.size(), 1u);
        EXPECT_EQ(result.errors[0].path, path);
        EXPECT_EQ(result.errors[0].reason, "No such file or directory");
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(result.targets.size(), 2u);
    };
    ScriptedObserver observer;
    const auto in = [&](const std::string& folder) {
        return std::vector<std::string>{dir.file(folder + "a.jpg"), dir.file(folder + "gone.jpg"),
                                        dir.file(folder + "c.jpg")};
    };
    expectOneError(run(FileOpKind::Copy, in(""), dir.file("copied"), observer),
                   dir.file("gone.jpg"));
    EXPECT_EQ(entriesBelow(dir.file("copied")), (std::vector<std::string>{"a.jpg", "c.jpg"}));
    expectOneError(run(FileOpKind::Move, in(""), dir.file("moved"), observer),
                   dir.file("gone.jpg"));
    EXPECT_EQ(entriesBelow(dir.file("moved")), (std::vector<std::string>{"a.jpg", "c.jpg"}));
    EXPECT_EQ(readFile(dir.file("moved/c.jpg")), "c");
    expectOneError(run(FileOpKind::Delete, in("moved/"), {}, observer), dir.file("moved/gone.jpg"));
    EXPECT_TRUE(fs::is_empty(dir.file("moved")));
    EXPECT_EQ(entriesBelow(dir.path()),
              (std::vector<std::string>{"copied", "copied/a.jpg", "copied/c.jpg", "moved"}));
    EXPECT_TRUE(observer.asked.empty());
}

TEST(FileOperationsTest, CancelInsideABigFileLeavesNoPartialFile) {
    const TempDir dir;
    fs::create_directories(dir.file("to"));
    writeFile(dir.file("a.jpg"), "small");
    const std::string big = randomBytes(32u << 20, 2);
    writeFile(dir.file("big.tif"), big);
    writeFile(dir.file("c.jpg"), "never copied");
    ScriptedObserver observer;
    // Cancel once a good part of the big file is written under its temporary name.
    observer.cancelWhen = [&] {
        for (const auto& entry : fs::directory_iterator(dir.file("to"))) {
            if (entry.path().filename().string().front() == '.' &&
                entry.file_size() >= (8u << 20)) {
                return true;
            }
        }
        return false;
    };
    const FileOpResult result =
        run(FileOpKind::Copy, {dir.file("a.jpg"), dir.file("big.tif"), dir.file("c.jpg")},
            dir.file("to"), observer);
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.errors.empty());
    EXPECT_EQ(entriesBelow(dir.file("to")), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(readFile(dir.file("big.tif")), big);
}

TEST(FileOperationsTest, MoveAcrossFileSystemsKeepsEverySourceWhenTheTargetIsFull) {
    const TempDir dir;
    const TmpfsMount source(dir.path() / "src", "64m");
    const TmpfsMount small(dir.path() / "dst", "4m");
    if (!source.mounted() || !small.mounted()) {
        GTEST_SKIP() << "cannot mount tmpfs here";
    }
    fs::create_directories(dir.file("src/album"));
    std::vector<std::string> photos;
    for (int i = 0; i < 8; ++i) {
        photos.push_back(randomBytes(1u << 20, 10 + i));
        writeFile(dir.file("src/album/p" + std::to_string(i) + ".jpg"), photos.back());
    }
    const std::string big = randomBytes(6u << 20, 3);
    writeFile(dir.file("src/big.tif"), big);
    writeFile(dir.file("src/note.txt"), "fits");
    const struct timespec times[2] = {{1'500'000'000, 0}, {1'500'000'000, 0}};
    ::utimensat(AT_FDCWD, dir.file("src/note.txt").c_str(), times, 0);

    ScriptedObserver observer;
    const FileOpResult result =
        run(FileOpKind::Move,
            {dir.file("src/album"), dir.file("src/big.tif"), dir.file("src/note.txt")},
            dir.file("dst"), observer);
    ASSERT_EQ(result.errors.size(), 2u);
    EXPECT_EQ(result.errors[0].reason, "No space left on device");
    EXPECT_EQ(result.errors[1].path, dir.file("src/big.tif"));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(readFile(dir.file("src/album/p" + std::to_string(i) + ".jpg")), photos[i]);
    }
    EXPECT_EQ(readFile(dir.file("src/big.tif")), big);
    // The half-copied folder went again; the file that fitted moved, with its time.
    EXPECT_EQ(entriesBelow(dir.file("dst")), std::vector<std::string>{"note.txt"});
    EXPECT_EQ(readFile(dir.file("dst/note.txt")), "fits");
    EXPECT_FALSE(fs::exists(dir.file("src/note.txt")));
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("dst/note.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1'500'000'000);
    EXPECT_EQ(result.targets, std::vector<std::string>{dir.file("dst/note.txt")});

    // A target that cannot be written to: each file says why, and stays.
    ASSERT_EQ(::mount("tmpfs", dir.file("dst").c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr),
              0);
    const FileOpResult readOnly =
        run(FileOpKind::Move, {dir.file("src/big.tif"), dir.file("src/album")}, dir.file("dst"),
            observer);
    ASSERT_EQ(readOnly.errors.size(), 2u);
    EXPECT_EQ(readOnly.errors[0].path, dir.file("src/big.tif"));
    EXPECT_EQ(readOnly.errors[0].reason, "Read-only file system");
    EXPECT_EQ(readOnly.errors[1].path, dir.file("src/album"));
    EXPECT_EQ(readFile(dir.file("src/big.tif")), big);
    EXPECT_EQ(entriesBelow(dir.file("src/album")).size(), 8u);
}

TEST(FileOperationsTest, TrashKeepsOriginalPathsAndDeleteRemovesForGood) {
    const TempDir home;
    const TempDir dir;
    const std::string dataHome = home.file("data");
    // GLib reads these once, on first use; no earlier test of this run asks for them.
    const EnvironmentOverride homeOverride("HOME", home.path().string());
    const EnvironmentOverride dataOverride("XDG_DATA_HOME", dataHome);
    if (std::string(g_get_user_data_dir()) != dataHome) {
        GTEST_SKIP() << "the user data folder was fixed earlier in this run";
    }
    fs::create_directories(dir.file("album/inner"));
    writeFile(dir.file("album/inner/a.jpg"), "a");
    writeFile(dir.file("b.jpg"), "b");
    writeFile(dir.file("c.jpg"), "c");

    ScriptedObserver observer;
    FileOpResult result =
        run(FileOpKind::Trash, {dir.file("album"), dir.file("b.jpg")}, {}, observer);
    EXPECT_TRUE(result.ok());
    EXPECT_FALSE(fs::exists(dir.file("album")));
    EXPECT_FALSE(fs::exists(dir.file("b.jpg")));
    EXPECT_EQ(readFile(dataHome + "/Trash/files/album/inner/a.jpg"), "a");
    EXPECT_NE(readFile(dataHome + "/Trash/info/b.jpg.trashinfo").find("Path=" + dir.file("b.jpg")),
              std::string::npos);
    EXPECT_NE(readFile(dataHome + "/Trash/info/album.trashinfo").find("Path=" + dir.file("album")),
              std::string::npos);

    result = run(FileOpKind::Delete, {dir.file("c.jpg")}, {}, observer);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.targets, std::vector<std::string>{dir.file("c.jpg")});
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_FALSE(fs::exists(dataHome + "/Trash/files/c.jpg"));
}

}  // namespace
}  // namespace tarn
