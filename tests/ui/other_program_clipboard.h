#pragma once

// Another program (xclip) on the other side of the clipboard.
#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "browser/file_clipboard.h"
#include "ui/ui_test_support.h"

namespace tarn::test {

// Runs a command that talks to our clipboard; the toolkit answers it while events are handled.
inline void runWhileAnswering(const std::string& command) {
    std::atomic<bool> done = false;
    std::thread runner([&] {
        std::system(command.c_str());
        done = true;
    });
    waitFor([&] { return done.load(); }, 15000);
    runner.join();
}

// Hands a PNG file to another program that offers it on the clipboard, and waits until it does.
// The clipboard is first emptied of pictures, so that the wait can tell.
inline void offerPictureByXclip(const std::string& file) {
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject("no picture"));
    wxTheClipboard->Close();
    ASSERT_TRUE(waitFor([] { return !clipboardHasImage(); }));
    const std::string command =
        "xclip -i -selection clipboard -t image/png '" + file + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(waitFor([] { return clipboardHasImage(); }));
}

}  // namespace tarn::test
