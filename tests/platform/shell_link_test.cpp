#include "platform/shell_link.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "fakes/temp_dir.h"

namespace tarn::platform {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

std::string run(const std::string& command) {
    std::string out;
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) {
        return out;
    }
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe.get())) > 0) {
        out.append(buf.data(), n);
    }
    return out;
}

// The "Local path" line of lnkinfo's report.
std::string lnkinfoLocalPath(const std::string& file) {
    const std::string out = run("lnkinfo '" + file + "' 2>&1");
    const std::size_t at = out.find("Local path");
    if (at == std::string::npos) {
        return "(no local path in: " + out + ")";
    }
    const std::size_t colon = out.find(':', at);
    std::size_t begin = out.find_first_not_of(" \t", colon + 1);
    const std::size_t end = out.find('\n', begin);
    return out.substr(begin, end - begin);
}

TEST(ShellLinkTest, ShortcutToAFolderReadsBackAndLnkinfoAgrees) {
    TempDir tmp;
    const std::string target = tmp.file("Photos 2024");
    fs::create_directory(target);
    fs::create_directory(tmp.file("Favorites"));
    const std::string link = tmp.file("Favorites/Photos 2024.lnk");

    ASSERT_TRUE(writeShellLink(link, target));
    EXPECT_EQ(shortcutTarget(link), target);
    EXPECT_EQ(lnkinfoLocalPath(link), target);
    // Nothing but the shortcut is left in its folder.
    EXPECT_EQ(
        std::distance(fs::directory_iterator(tmp.file("Favorites")), fs::directory_iterator()), 1);

    // Non-ASCII names keep their characters.
    const std::string accented = tmp.file("Été");
    fs::create_directory(accented);
    ASSERT_TRUE(writeShellLink(tmp.file("e.lnk"), accented));
    EXPECT_EQ(shortcutTarget(tmp.file("e.lnk")), accented);
    EXPECT_EQ(lnkinfoLocalPath(tmp.file("e.lnk")), accented);

    // A name that is not UTF-8 survives in the byte form.
    const std::string odd = tmp.file("bad\xff");
    fs::create_directory(odd);
    ASSERT_TRUE(writeShellLink(tmp.file("odd.lnk"), odd));
    EXPECT_EQ(shortcutTarget(tmp.file("odd.lnk")), odd);

    // Overwriting replaces the old target.
    ASSERT_TRUE(writeShellLink(link, accented));
    EXPECT_EQ(shortcutTarget(link), accented);
    // No relative target, no writable place: nothing written.
    EXPECT_FALSE(writeShellLink(tmp.file("r.lnk"), "relative/target"));
    EXPECT_FALSE(writeShellLink(tmp.file("missing/x.lnk"), target));
    EXPECT_FALSE(fs::exists(tmp.file("r.lnk")));
}

TEST(ShellLinkTest, TruncatedAndMalformedShortcutsResolveToNothing) {
    const std::string good = encodeShellLink("/home/me/Pictures", "../Pictures", true);
    ASSERT_EQ(decodeShellLinkTarget(good, "/home/me/x"), "/home/me/Pictures");

    // Every cut inside the header or the link info loses the target.
    const std::size_t infoEnd = 0x4C + (static_cast<std::uint8_t>(good[0x4C]) |
                                        (static_cast<std::uint8_t>(good[0x4D]) << 8));
    for (std::size_t cut = 0; cut < infoEnd; ++cut) {
        EXPECT_EQ(decodeShellLinkTarget(good.substr(0, cut), "/x"), "") << "cut at " << cut;
    }

    std::string badClsid = good;
    badClsid[5] ^= 0x55;
    EXPECT_EQ(decodeShellLinkTarget(badClsid, "/x"), "");

    // Offsets pointing outside the link info: the relative path is used instead, and
    // without one there is no target.
    const auto scramble = [](std::string link) {
        for (std::size_t field : {0x4C + 16, 0x4C + 28}) {
            link[field] = '\xF0';
            link[field + 1] = '\xFF';
        }
        return link;
    };
    EXPECT_EQ(decodeShellLinkTarget(scramble(good), "/home/me/x"), "/home/me/Pictures");
    EXPECT_EQ(decodeShellLinkTarget(scramble(encodeShellLink("/home/me/Pictures", "", true)), "/x"),
              "");

    // A link info size beyond the data.
    std::string huge = good;
    huge[0x4C + 3] = '\x7F';
    EXPECT_EQ(decodeShellLinkTarget(huge, "/x"), "");

    EXPECT_EQ(decodeShellLinkTarget("", "/x"), "");
    EXPECT_EQ(decodeShellLinkTarget(std::string(200, '\0'), "/x"), "");

    TempDir tmp;
    writeFile(tmp.file("short.lnk"), good.substr(0, 90));
    EXPECT_EQ(shortcutTarget(tmp.file("short.lnk")), "");
    writeFile(tmp.file("text.lnk"), "hello");
    EXPECT_EQ(shortcutTarget(tmp.file("text.lnk")), "");
    EXPECT_EQ(shortcutTarget(tmp.file("missing.lnk")), "");
    // A well-formed shortcut under another extension is not taken as one.
    writeFile(tmp.file("shortcut.bin"), good);
    EXPECT_EQ(shortcutTarget(tmp.file("shortcut.bin")), "");
}

// Header of a shortcut without link info: the relative path is all there is.
std::string relativeOnlyLink(const std::u16string& rel) {
    std::string out = encodeShellLink("/ignored", "", false).substr(0, 0x4C);
    out[0x14] = static_cast<char>(0x08 | 0x80);  // relative path, Unicode
    out[0x15] = out[0x16] = out[0x17] = 0;
    out.push_back(static_cast<char>(rel.size()));
    out.push_back(0);
    for (const char16_t c : rel) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

TEST(ShellLinkTest, RelativePathIsTheFallback) {
    EXPECT_EQ(decodeShellLinkTarget(relativeOnlyLink(u"..\\Pictures\\2024"), "/home/me/Favorites"),
              "/home/me/Pictures/2024");
    EXPECT_EQ(decodeShellLinkTarget(relativeOnlyLink(u"sub"), "/data"), "/data/sub");
    // A count larger than the data.
    std::string cut = relativeOnlyLink(u"sub");
    cut.resize(cut.size() - 1);
    EXPECT_EQ(decodeShellLinkTarget(cut, "/data"), "");

    EXPECT_EQ(relativePathBetween("/home/me/Favorites", "/home/me/Pictures"), "../Pictures");
    EXPECT_EQ(relativePathBetween("/a", "/a/b/c"), "b/c");
    EXPECT_EQ(relativePathBetween("/a/b", "/a/b"), ".");
}

TEST(ShellLinkTest, SymbolicLinksAreShortcutsToo) {
    TempDir tmp;
    fs::create_directory(tmp.file("real"));
    fs::create_symlink(tmp.file("real"), tmp.file("to-real"));
    fs::create_symlink("real", tmp.file("relative"));
    fs::create_symlink("/", tmp.file("to-root"));
    fs::create_symlink(tmp.file("gone"), tmp.file("dangling"));
    fs::create_symlink(tmp.file("b"), tmp.file("a"));
    fs::create_symlink(tmp.file("a"), tmp.file("b"));

    const std::string real = fs::canonical(tmp.file("real")).string();
    EXPECT_EQ(shortcutTarget(tmp.file("to-real")), real);
    EXPECT_EQ(shortcutTarget(tmp.file("relative")), real);
    EXPECT_EQ(shortcutTarget(tmp.file("to-root")), "/");
    EXPECT_EQ(shortcutTarget(tmp.file("dangling")), "");
    EXPECT_EQ(shortcutTarget(tmp.file("a")), "");
    // A plain folder or file is no shortcut.
    EXPECT_EQ(shortcutTarget(tmp.file("real")), "");
}

}  // namespace
}  // namespace tarn::platform
