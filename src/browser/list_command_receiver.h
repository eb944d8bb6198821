#pragma once

#include <functional>
#include <string>

#include "commands/command_handlers.h"
#include "imaging/jpeg_codec.h"

namespace tarn {

class CImageListCtrl;
class FileActions;
class FolderModel;

// The thumbnail list's commands: selection, sort, refresh, opening, the slide show and the
// file commands.
class ListCommandReceiver : public CommandHandlers {
public:
    explicit ListCommandReceiver(CImageListCtrl& list);

    // Adds the file commands over the shared file utilities (which outlive the receiver).
    void addFileCommands(FileActions& files);

    // What Slide Show does with the index it starts at (the frame enters the slide show).
    void setSlideShowHandler(std::function<void(int index)> handler) {
        m_startSlideShow = std::move(handler);
    }
    // What View in Full Screen does with the focused image's index.
    void setFullScreenHandler(std::function<void(int index)> handler) {
        m_openFullScreen = std::move(handler);
    }
    // What Refresh does after the list read its folder again (the folder tree's part).
    void setRefreshHandler(std::function<void()> handler) { m_afterRefresh = std::move(handler); }
    // Where the slide show starts: the first selected image; with nothing selected the first
    // image of the folder; -1 when selected items hold no image or the folder has none.
    static int slideShowStart(const FolderModel& model);

    // The lossless JPEG transformations of the selected files: possible while items are
    // selected and every selected file's name says JPEG (folders give no file to look at).
    // They run in list order up to the first file that is not a JPEG; the list then shows the
    // changed files again.
    bool canTransformJpeg() const;
    void transformJpeg(JpegTransform operation);

private:
    void startSlideShow();
    void openFullScreen();
    void refresh();
    // Reads the folder again after the program changed it, and the tree's selected node.
    void reload();
    void newFolder();
    // The focused item's path while items are selected, else the current folder's.
    std::string itemOrFolderPath() const;
    std::string pasteTarget() const;

    CImageListCtrl& m_list;
    FileActions* m_files = nullptr;
    std::function<void(int)> m_startSlideShow;
    std::function<void(int)> m_openFullScreen;
    std::function<void()> m_afterRefresh;
};

}  // namespace tarn
