#include "browser/file_clipboard.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "ui/child_process.h"
#include "ui/ui_test_support.h"

namespace tarn {
namespace {

using platform::ClipboardFiles;

const ClipboardFiles kPictures{{"/home/ann/Holiday 2024/beach 100%.jpg", "/home/ann/#2 Ærø.png"},
                               true};

// What another program reads from our clipboard; the toolkit answers it while events are handled.
std::string readByXclip(const std::string& target) {
    std::atomic<bool> done = false;
    std::string output;
    std::thread reader([&] {
        output = test::commandOutput("timeout 10 xclip -o -selection clipboard -t " + target);
        done = true;
    });
    test::waitFor([&] { return done.load(); }, 15000);
    reader.join();
    return output;
}

// Hands the clipboard to a program that keeps it until another takes it over.
void putByXclip(const std::string& target, const std::string& text) {
    const std::string command =
        "printf '" + text + "' | xclip -i -selection clipboard -t " + target + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

void putText(const char* text) {
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
}

TEST(FileClipboard, FilesGoOutAndComeBackAsOftenAsAsked) {
    ASSERT_TRUE(putFilesOnClipboard(kPictures));
    EXPECT_TRUE(clipboardHasFiles());
    EXPECT_EQ(filesOnClipboard(), kPictures);
    EXPECT_EQ(filesOnClipboard(), kPictures);  // pasting keeps the list

    const ClipboardFiles copied{{"/tmp/one.jpg"}, false};
    ASSERT_TRUE(putFilesOnClipboard(copied));
    EXPECT_EQ(filesOnClipboard(), copied);

    // The news of a new owner comes through the event loop, another program's or ours.
    putText("/tmp/one.jpg");
    EXPECT_TRUE(test::waitFor([] { return !clipboardHasFiles(); }));
    EXPECT_EQ(filesOnClipboard(), std::nullopt);

    // Nothing to put: the old contents go all the same.
    ASSERT_TRUE(putFilesOnClipboard(copied));
    EXPECT_FALSE(putFilesOnClipboard({{"relative.jpg"}, true}));
    EXPECT_TRUE(test::waitFor([] { return !clipboardHasFiles(); }));

    // Somebody else holding the clipboard open: nothing happens.
    ASSERT_TRUE(wxTheClipboard->Open());
    EXPECT_FALSE(putFilesOnClipboard(copied));
    EXPECT_EQ(filesOnClipboard(), std::nullopt);
    wxTheClipboard->Close();
}

TEST(FileClipboard, FileManagersReadWhatWeCut) {
    ASSERT_TRUE(putFilesOnClipboard(kPictures));
    EXPECT_EQ(readByXclip("x-special/gnome-copied-files"),
              "cut\nfile:///home/ann/Holiday%202024/beach%20100%25.jpg\n"
              "file:///home/ann/%232%20%C3%86r%C3%B8.png");
    EXPECT_EQ(readByXclip("text/uri-list"),
              "file:///home/ann/Holiday%202024/beach%20100%25.jpg\r\n"
              "file:///home/ann/%232%20%C3%86r%C3%B8.png\r\n");
}

TEST(FileClipboard, WePasteWhatFileManagersCutOrCopied) {
    putByXclip("x-special/gnome-copied-files",
               "cut\\nfile:///srv/photos/a%%20b.jpg\\nsmb://nas/c.jpg\\nfile:///srv/photos/d.png");
    const ClipboardFiles cut{{"/srv/photos/a b.jpg", "/srv/photos/d.png"}, true};
    EXPECT_TRUE(test::waitFor([&] { return filesOnClipboard() == cut; }));
    EXPECT_TRUE(clipboardHasFiles());

    // A list of dropped files only: a copy.
    putByXclip("text/uri-list", "# from a browser\\r\\nfile:///srv/photos/e.jpg\\r\\n");
    const ClipboardFiles copied{{"/srv/photos/e.jpg"}, false};
    EXPECT_TRUE(test::waitFor([&] { return filesOnClipboard() == copied; }));

    // GNOME Files 43 puts the list in plain text.
    putText("x-special/nautilus-clipboard\ncopy\nfile:///srv/photos/f%20g.jpg\n");
    EXPECT_TRUE(clipboardHasFiles());
    EXPECT_EQ(filesOnClipboard(), (ClipboardFiles{{"/srv/photos/f g.jpg"}, false}));

    // Taking the clipboard back ends the program that held it.
    putText("done");
    EXPECT_TRUE(test::waitFor([] { return !clipboardHasFiles(); }));
}

TEST(FileClipboard, PictureReplacesTheFiles) {
    ASSERT_TRUE(putFilesOnClipboard(kPictures));
    wxBitmap picture(6, 4, 24);
    ASSERT_TRUE(putBitmapOnClipboard(picture));
    EXPECT_TRUE(test::waitFor([] { return !clipboardHasFiles(); }));
    ASSERT_TRUE(wxTheClipboard->Open());
    wxBitmapDataObject pasted;
    EXPECT_TRUE(wxTheClipboard->GetData(pasted));
    wxTheClipboard->Close();
    EXPECT_EQ(pasted.GetBitmap().GetSize(), wxSize(6, 4));
    EXPECT_FALSE(putBitmapOnClipboard(wxBitmap()));
}

}  // namespace
}  // namespace tarn
