#include "platform/clipboard_file_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarn::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::vector<std::string> kAwkwardNames = {
    "/home/ann/Holiday 2024/beach photo.jpg",  // blanks
    "/home/ann/100% sure.png",                 // an escape character of its own
    "/home/ann/#1 shot.tif",                   // would start a fragment
    "/home/ann/Fotos/Café Ærø 東京.jpeg",      // UTF-8
    "/home/ann/a?b;c=d&e.gif",
};

TEST(ClipboardFileList, GnomeTextRoundTripsCutAndCopy) {
    for (const bool cut : {true, false}) {
        const ClipboardFiles files{kAwkwardNames, cut};
        const std::string text = gnomeCopiedFilesText(files);
        EXPECT_EQ(text.substr(0, text.find('\n')), cut ? "cut" : "copy");
        EXPECT_EQ(text.find(' '), std::string::npos) << text;
        EXPECT_NE(text.back(), '\n');
        EXPECT_EQ(parseGnomeCopiedFiles(text), files);
    }
    // What a file manager writes.
    EXPECT_EQ(gnomeCopiedFilesText({{"/tmp/a b.jpg", "/tmp/c.png"}, true}),
              "cut\nfile:///tmp/a%20b.jpg\nfile:///tmp/c.png");
}

TEST(ClipboardFileList, UriListRoundTripsWithCrLfLines) {
    const std::string text = uriListText(kAwkwardNames);
    EXPECT_EQ(uriListText({"/tmp/x y", "/tmp/z"}), "file:///tmp/x%20y\r\nfile:///tmp/z\r\n");
    EXPECT_EQ(parseUriList(text), kAwkwardNames);
    EXPECT_THAT(uriListText({}), IsEmpty());
}

TEST(ClipboardFileList, RelativePathsAreLeftOut) {
    EXPECT_EQ(gnomeCopiedFilesText({{"relative.jpg", "/abs.jpg"}, false}), "copy\nfile:///abs.jpg");
    EXPECT_EQ(uriListText({"relative.jpg"}), "");
}

TEST(ClipboardFileList, UriListSkipsCommentsBlanksAndForeignUris) {
    const std::string text =
        "# dragged from somewhere\r\n"
        "file:///home/ann/one.jpg\r\n"
        "\r\n"
        "  file://localhost/home/ann/two%20words.jpg  \r\n"
        "file://otherhost/home/ann/three.jpg\r\n"
        "http://example.com/four.jpg\r\n"
        "smb://server/share/five.jpg\r\n"
        "file:///home/ann/bad%zzescape.jpg\r\n"
        "file:/home/ann/six.jpg\n"  // a single slash and a bare LF, as some programs write
        "file:///home/ann/seven.jpg";
    EXPECT_THAT(parseUriList(text), ElementsAre("/home/ann/one.jpg", "/home/ann/two words.jpg",
                                                "/home/ann/six.jpg", "/home/ann/seven.jpg"));
}

TEST(ClipboardFileList, GnomeTextNeedsAnActionAndALocalFile) {
    EXPECT_EQ(parseGnomeCopiedFiles("copy\r\nfile:///a.jpg\r\n"),
              (ClipboardFiles{{"/a.jpg"}, false}));
    EXPECT_EQ(parseGnomeCopiedFiles("CUT\nfile:///a.jpg\nsftp://host/b.jpg\nfile:///c%41.jpg\n"),
              (ClipboardFiles{{"/a.jpg", "/cA.jpg"}, true}));
    EXPECT_EQ(parseGnomeCopiedFiles(""), std::nullopt);
    EXPECT_EQ(parseGnomeCopiedFiles("cut"), std::nullopt);
    EXPECT_EQ(parseGnomeCopiedFiles("cut\nsftp://host/b.jpg\nfile://host/c.jpg"), std::nullopt);
    EXPECT_EQ(parseGnomeCopiedFiles("link\nfile:///a.jpg"), std::nullopt);
    EXPECT_EQ(parseGnomeCopiedFiles("file:///a.jpg\nfile:///b.jpg"), std::nullopt);
}

TEST(ClipboardFileList, GnomeFilesPlainTextIsAFileList) {
    const std::string text = "x-special/nautilus-clipboard\ncut\nfile:///a%20b.jpg\n";
    EXPECT_TRUE(isNautilusClipboardText(text));
    EXPECT_EQ(parseGnomeCopiedFiles(text), (ClipboardFiles{{"/a b.jpg"}, true}));
    EXPECT_TRUE(isNautilusClipboardText("x-special/nautilus-clipboard\r\ncopy"));
    for (const std::string_view words :
         {"x-special/nautilus-clipboards\ncut\nfile:///a", "cut\nfile:///a",
          "see x-special/nautilus-clipboard\n", "x-special/nautilus-clipboard", ""}) {
        EXPECT_FALSE(isNautilusClipboardText(words)) << words;
    }
}

TEST(ClipboardFileList, FileUrisDecodeOrAreRefused) {
    EXPECT_EQ(pathFromFileUri("file:///a/b%20c"), "/a/b c");
    EXPECT_EQ(pathFromFileUri("FILE://LocalHost/a%2fb"), "/a/b");
    EXPECT_EQ(pathFromFileUri("file:///Caf%C3%A9"), "/Café");
    EXPECT_EQ(pathFromFileUri("file:///raw é"), "/raw é");
    EXPECT_EQ(pathFromFileUri("file:///100%25"), "/100%");
    EXPECT_EQ(pathFromFileUri("file:///"), "/");

    for (const std::string_view refused :
         {"file://server/a", "file://", "file:", "file:relative", "http:///a", "/plain/path",
          "file:///a%2", "file:///a%", "file:///a%g0", "file:///a%00b", "file:///a#frag",
          "file:///a?q=1", ""}) {
        EXPECT_EQ(pathFromFileUri(refused), std::nullopt) << refused;
    }
    using namespace std::string_view_literals;
    EXPECT_EQ(pathFromFileUri("file:///a\0b"sv), std::nullopt);
}

}  // namespace
}  // namespace tarn::platform
