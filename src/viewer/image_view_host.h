#pragma once

#include <string>

namespace tarn {

class FileActions;
class FolderModel;

// What the image view needs from the window that holds it: the folder list it steps through,
// the frame's mode and bars, and the commands it hands on. The main frame implements it.
class ImageViewHost {
public:
    virtual ~ImageViewHost() = default;

    // The browser's folder list; the open image is one of its items.
    virtual FolderModel& folderModel() = 0;
    // Reads the folder list again from disk.
    virtual void refreshFolder() = 0;
    // Lists a file's folder in the browser.
    virtual void showFileInBrowser(const std::string& path) = 0;
    // Opens a list item as a double-click in the browser does.
    virtual void openListItem(int index) = 0;

    virtual bool inImageMode() const = 0;
    virtual void leaveImageMode() = 0;
    virtual void enterFullScreen() = 0;
    virtual void leaveFullScreen() = 0;
    virtual void startSlideShow(int index) = 0;
    // The file utilities the panes share.
    virtual FileActions& fileActions() = 0;
    // Through the frame's routing, so that a disabled command does nothing.
    virtual bool runCommand(int command) = 0;

    // The open image was replaced, changed or closed (the old one is gone by now).
    virtual void imageChanged() = 0;
    // The open image is being changed on another thread: nothing may read it until the next
    // imageChanged().
    virtual void imageBusy() = 0;
    // The title and the status-bar panes follow the open image.
    virtual void refreshTitle() = 0;
    virtual void refreshStatus() = 0;
    // Whether the status bar's zoom slider is being dragged (the drawing takes the fast path).
    virtual bool zoomSliderTracking() const = 0;
};

}  // namespace tarn
