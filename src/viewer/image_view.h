#pragma once

#include <wx/bitmap.h>
#include <wx/cursor.h>
#include <wx/dialog.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_handlers.h"
#include "imaging/jpeg_codec.h"
#include "viewer/image_document.h"
#include "viewer/image_renderer.h"
#include "viewer/image_selection.h"
#include "viewer/image_view_host.h"
#include "viewer/prefetch_slot.h"
#include "viewer/view_geometry.h"
#include "viewer/view_tools.h"

namespace tarn {

// Posted by the pre-loader when the next image is read.
wxDECLARE_EVENT(EVT_IMAGE_PRELOADED, wxThreadEvent);

struct AppContext;
class FolderModel;

// The questions and messages of the image view. The defaults show the real dialogs; tests put
// their own answers in.
struct ImageViewPrompts {
    // The save-changes question: 1000 save, 1001 save as (chosen path filled), 1002 discard,
    // anything else cancel.
    std::function<int(const std::string& path, const fipSuperImage& image, std::string& chosen)>
        querySave;
    // The save dialog for Save As; nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& path, const fipSuperImage& image)>
        saveAs;
    // The open dialog starting in a folder; nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& folder)> openFile;
    // A Yes/No question; true for Yes.
    std::function<bool(const std::string& text, const std::string& caption)> confirm;
    std::function<void(const std::string& text, const std::string& caption)> error;
    // A notice with the exclamation icon, captioned with the program's name.
    std::function<void(const std::string& text)> warn;
    // Moves a file to the Trash; false when that failed.
    std::function<bool(const std::string& path)> trash;
    // The rename dialog for a file: the new name, nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& path)> rename;
    // Runs one of the parameter dialogs modally; its result code.
    std::function<int(wxDialog& dialog)> runDialog;
    // A message with the information icon.
    std::function<void(const std::string& text, const std::string& caption)> inform;
    // The colour chooser starting at a colour (0x00BBGGRR); nothing when cancelled.
    std::function<std::optional<std::uint32_t>(std::uint32_t start)> chooseColor;
};

// The image viewer and editor: one open image (the document), drawn at a zoom inside the window,
// centred when smaller and scrollable when larger, with the next image of the folder pre-loaded.
//
// Its code is split by concern: window, drawing, input and full screen here; opening, saving and
// navigation in image_view_document.cpp; its commands in image_view_commands.cpp; the mouse
// tools, the selection and the clipboard in image_view_tools.cpp.
class CImageView : public wxWindow {
public:
    static constexpr int kControlId = 153;
    static constexpr int kCursorHideMilliseconds = 2000;
    static constexpr int kQuickSlideMilliseconds = 1500;

    CImageView(wxWindow* parent, ImageViewHost& host, AppContext& context);
    ~CImageView() override;

    // The document.
    const ImageDocument& document() const { return m_document; }
    ImageDocument& document() { return m_document; }
    bool isModified() const { return m_document.modified(); }
    bool hasImage() const { return m_document.hasImage(); }
    const ViewGeometry& geometry() const { return m_geometry; }
    PrefetchSlot& prefetchSlot() { return m_prefetch; }
    ImageViewPrompts& prompts() { return m_prompts; }

    // Shows the folder-list item at index and page; returns whether an image is open.
    bool openItem(int index, int page);
    // Asks to save unsaved changes; true when the caller may proceed.
    bool querySave();
    // Saves to path; reports a failure with a message.
    bool saveTo(const std::string& path);
    void closeImage();
    // The open commands of the File menu.
    void save();
    void saveAs();
    void reopen();
    void closeCommand();
    void deleteFile();
    // The Open dialog; in the browser the chosen item is opened as if double-clicked.
    void openFromDialog();

    // Image and page navigation (each asks to save changes first).
    bool canNextImage() const;
    bool canPreviousImage() const;
    bool canFirstImage() const;
    bool canLastImage() const;
    void nextImage();
    void previousImage();
    void firstImage();
    void lastImage();
    void goToPage(int page);

    // Edits the open image through the document (undo step, modified flag) and shows the
    // result; the one call every editing command makes. Returns whether the image changed.
    bool edit(const ImageEdit& edit);
    // The same inside the selection when there is one (the copy of the selected rectangle is
    // edited and pasted back), else on the whole image.
    bool editSelection(const ImageEdit& edit);
    void undo();
    void redo();

    // Zoom.
    void zoomIn();
    void zoomOut();
    void setFixedZoom(double zoom);
    // The status-bar slider and the zoom-level dialog: 0.07..16, image mode only.
    void setCustomZoom(double zoom);
    // The geometry and depth commands with their dialogs (image_view_geometry.cpp).
    void zoomToDialog();
    void resizeDialog();
    void canvasSizeDialog();
    void setDpiDialog();
    void colorDepthDialog();
    // The other editing commands (image_view_edits.cpp).
    void countColors();
    void redEyeReduction();
    void chooseBackgroundColor();
    void cropToSelection();
    void clearSelectedArea();
    void print();
    // The lossless JPEG transformations of the open file: on disk, then the file is opened again.
    bool canTransformJpeg() const;
    void transformJpeg(JpegTransform operation);
    void fit(ZoomType type);
    void actualSize();
    void zoomLock();

    // Full screen and the quick slide show.
    bool isFullScreen() const { return m_fullScreen; }
    void setFullScreen(bool on);
    bool quickSlideShowRunning() const { return m_quickSlideTimer.IsRunning(); }
    bool canQuickSlideShow() const;
    void toggleQuickSlideShow();
    bool cursorHidden() const { return m_cursorHidden; }

    // Leaves the image view for the browser: asks to save unless already asked (false when
    // cancelled), closes the image and empties the pre-load slot.
    bool leaveToBrowser(bool askToSave = true);

    // The name the window title shows for the image mode: the open file's, else nothing.
    std::string titleName() const;
    const wxColour& backdrop() const { return m_backdrop; }

    // The commands of the image mode.
    CommandReceiver& receiver() { return m_commands; }

    // The mouse tools and the selection (image pixels).
    ViewTool tool() const { return m_tool; }
    void setTool(ViewTool tool);
    const ImageSelection& selection() const { return m_selection; }
    bool hasSelection() const { return hasImage() && !m_selection.empty(); }
    void selectAll();
    void clearSelection();
    // The clipboard: the selection or the whole image goes out; a picture comes in.
    void copy();
    void cut();
    void paste();
    bool canPaste() const;
    // The colour that cutting and clearing leave behind, 0x00BBGGRR.
    std::uint32_t backgroundColor() const { return m_backgroundColor; }
    bool menuShowing() const { return m_menuShowing; }

    // Timer ticks, public so that tests need not wait for them.
    void onCursorTimer();
    void onQuickSlideTimer();

private:
    FolderModel& folder() const;
    void installDefaultPrompts();
    void addCommands();
    // The tools (image_view_tools.cpp).
    void setUpTools();
    void writeToolSettings();
    void addToolCommands();
    void addGeometryCommands();
    void addEditCommands();
    // The effects that ask for their parameters (image_view_effect_dialogs.cpp).
    void addEffectDialogCommands();
    // An edit of the whole image after which the selection goes.
    bool editAndDropSelection(const ImageEdit& edit);
    void selectionChanged();
    void paintSelection(wxDC& dc) const;
    void toolMotion(WindowPoint point);
    wxCursor cursorAt(WindowPoint point) const;
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onRightDown(wxMouseEvent& event);
    void onRightUp(wxMouseEvent& event);
    void onCaptureLost(wxMouseCaptureLostEvent& event);
    void onContextMenu(wxContextMenuEvent& event);
    void startSlideShow();
    // The file commands on the open file (image_view_files.cpp).
    void addFileCommands();
    void renameFile();
    void moveToFolder();
    // Closes the image and opens the first of the files still listed after a refresh.
    void closeAndOpenOneOf(const std::vector<std::string>& paths);
    std::string nextImagePath() const;
    int page() const { return m_document.pageIndex(); }
    int lastPage() const { return m_document.pageCount() - 1; }
    void refreshAfterOpen();
    // After the pixels or the size of the open image changed.
    void refreshAfterEdit();
    // Runs work on the open image with the wait cursor (image_view_edits.cpp); its result.
    bool runImageWork(const std::function<bool()>& work);
    // The client area as painted now.
    wxBitmap drawnFrame();
    void startPreload();
    void onPreloaded(wxThreadEvent& event);
    void restartQuickSlide();
    // The open item's index in the folder list as it is now.
    int currentIndex() const;
    // Navigation target, -1 for none.
    int nextImageIndex() const;
    int previousImageIndex() const;
    int firstImageIndex() const;
    int lastImageIndex() const;
    void openOtherImage(int index, bool keepLeftImage);

    void syncGeometry();
    void applyScrollBars();
    // Whether the bars' thickness changed.
    bool measureScrollBars();
    void zoomChanged();
    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onScroll(wxScrollWinEvent& event);
    void onMouseWheel(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onLeftDoubleClick(wxMouseEvent& event);
    void onSetCursor(wxSetCursorEvent& event);

    ImageViewHost& m_host;
    AppContext& m_context;
    ImageDocument m_document;
    ViewGeometry m_geometry;
    ImageRenderer m_renderer;
    PrefetchSlot m_prefetch;
    ImageViewPrompts m_prompts;
    CommandHandlers m_commands;

    wxColour m_backdrop;
    bool m_fullScreen = false;
    bool m_cursorHidden = false;
    wxPoint m_lastMouse{-1, -1};
    wxTimer m_cursorTimer;
    wxTimer m_quickSlideTimer;
    bool m_applyingBars = false;
    // While a long edit runs: the picture the window shows meanwhile.
    wxBitmap m_frozenFrame;

    ViewTool m_tool = ViewTool::Pan;
    ImageSelection m_selection;
    std::uint32_t m_backgroundColor = 0;
    bool m_leftDown = false;
    bool m_rightDown = false;
    WindowPoint m_leftPress, m_lastPoint, m_rightPress;
    bool m_menuShowing = false;
    wxCursor m_selectCursor, m_panCursor, m_grabCursor, m_zoomCursor;
    int m_barWidth = 0;   // of a vertical scroll bar
    int m_barHeight = 0;  // of a horizontal one
};

}  // namespace tarn
