#pragma once

#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/imaglist.h>
#include <wx/panel.h>
#include <wx/toolbar.h>

#include <memory>
#include <span>

#include "app/app_context.h"
#include "app/resource_pictures.h"
#include "app/system_image_lists.h"
#include "commands/command_handlers.h"
#include "commands/command_router.h"
#include "commands/tool_bar_layout.h"
#include "frame/frame_layout_rules.h"
#include "frame/navigation_history.h"
#include "viewer/image_view_host.h"

namespace tarn {

class CBrowserView;
class CImageListCtrl;
class CImagePreviewView;
class CDlgHistogram;
class CImageView;
class CShellTree;
class CSlideView;
class CSuperSplitterWnd;
class CSuperStatusBar;
class ListCommandReceiver;
class CWorkSpaceView;
class FileActions;
class TreeCommandReceiver;

// The one top-level window. It owns every pane, bar and view for the life of the process and
// carries the mode: the browser, the image viewer or the slide show. Nothing is destroyed when
// the mode changes, so each view keeps its state.
//
// Its code is split by concern: construction and layout here, the bars in
// main_frame_bars.cpp, modes, full screen and closing in main_frame_modes.cpp.
class CMainFrame : public wxFrame, public ImageViewHost {
public:
    enum Mode { kBrowserMode = 0, kImageMode = 1, kSlideShowMode = 2 };
    static constexpr int kAddressBoxId = 152;

    CMainFrame(AppContext& context, const CSystemImageLists& iconLists);
    ~CMainFrame() override;

    // Applies the stored placement (or maximises), sizes the splitters and selects the
    // initial location. Called once, when the frame is first shown.
    void activateFirstTime();
    bool initialised() const { return m_initialised; }

    // Panes and views.
    CSuperSplitterWnd* outerSplitter() const { return m_outer; }
    CSuperSplitterWnd* innerSplitter() const { return m_inner; }
    CBrowserView* browserView() const { return m_browserView; }
    CImagePreviewView* previewView() const { return m_previewView; }
    CWorkSpaceView* workspaceView() const { return m_workspace; }
    CImageListCtrl* imageList() const;
    CShellTree* folderTree() const;
    // The file utilities the panes share; tests answer their prompts.
    FileActions& fileActions() override { return *m_fileActions; }
    CImageView* imageView() const { return m_imageView; }
    CSlideView* slideView() const { return m_slideView; }
    wxComboBox* addressBox() const { return m_addressBox; }
    wxToolBar* browserToolBar() const { return m_browserBar; }
    wxToolBar* imageToolBar() const { return m_imageBar; }
    CSuperStatusBar* statusBar() const { return m_statusBar; }
    wxMenuBar* browserMenuBar() const { return m_browserMenu; }
    wxMenuBar* imageMenuBar() const { return m_imageMenu; }

    int mode() const { return m_mode; }
    int previousMode() const { return m_previousMode; }
    bool isFullScreen() const { return m_fullScreen; }

    // Mode switches.
    void enterImageMode();
    // Opens a list item in the image mode; a file that cannot be loaded leaves the frame in
    // the browser with a notice.
    void openFromList(int index);
    void leaveImageMode() override;
    void enterFullScreen() override;
    void leaveFullScreen() override;
    // The slide show from the browser or the image mode, starting at a list index; stopping
    // returns to the mode it came from (main_frame_slideshow.cpp).
    void startSlideShow(int index) override;
    void stopSlideShow();

    // Bar visibility (the View menu's toggles).
    bool toolBarShown() const { return m_showToolBar; }
    bool addressBarShown() const { return m_showAddressBar; }
    bool statusBarShown() const { return m_showStatusBar; }
    void setToolBarShown(bool show);
    void setAddressBarShown(bool show);
    void setStatusBarShown(bool show);

    // The Exit command: closes the frame whatever the mode.
    void requestExit();

    // The wx identifier of a tool-bar command.
    static int toolId(int command);

    // Commands as the menus, tool bars and accelerators see them: routed by the mode and the
    // focused pane. runCommand does nothing (and says so) when the command is disabled.
    CommandState commandState(int command) const;
    bool runCommand(int command) override;
    FocusedPane focusedPane() const;
    // Which window a command goes to now.
    Receiver commandReceiver(int command) const;
    // Every command some pane answers for.
    std::vector<int> handledCommands() const { return m_router.handledCommands(); }

    // Back, forward and up through the folders the list showed.
    const NavigationHistory& history() const { return m_history; }
    void goBack();
    void goForward();
    void goUp();
    bool canGoUp() const;

    // Thumbnail size of the list and the status-bar slider, clamped to 36..200.
    void setThumbnailSize(int size);
    // The image view's zoom factor.
    double viewZoom() const;
    // Recomputes the status-bar panes for the mode.
    void refreshStatus() override;
    // Sets the window title for the mode.
    void refreshTitle() override { updateTitle(); }
    void imageChanged() override;
    void imageBusy() override;
    // The "Histogram" command; remembered for later image-mode entries.
    void setHistogramShown(bool shown);
    CDlgHistogram* histogramDialog() const { return m_histogramDialog; }
    void refreshImageStatus();
    // Lists the folder of a file in the browser (the tree moves there when it differs).
    void showFileInBrowser(const std::string& path) override;

    // The rest of what the image view asks of its holder.
    FolderModel& folderModel() override;
    void refreshFolder() override;
    void openListItem(int index) override;
    bool inImageMode() const override { return m_mode == kImageMode; }
    bool zoomSliderTracking() const override;

private:
    // Construction.
    void createBars();
    wxToolBar* createToolBar(std::span<const ToolBarSlot> slots);
    void loadToolBarPictures();
    void createPanes();

    // Commands (main_frame_commands.cpp).
    void createCommands();
    void addFrameCommands();
    void onUpdateUi(wxUpdateUIEvent& event);
    void onCommand(wxCommandEvent& event);
    void onCharHook(wxKeyEvent& event);
    void showSortMenu();
    void recordVisit(const platform::ItemIdList& folder, int source);
    void browseEntry(const HistoryEntry* entry);

    // Layout.
    void layoutClient();
    void updateBands();
    void onSize(wxSizeEvent& event);
    void onMove(wxMoveEvent& event);
    void onOuterResized(const wxRect& rect);
    void keepThumbnailPaneWide();
    void onInnerResized(const wxRect& rect);
    void rememberNormalRect();
    void selectInitialLocation();
    void updateTitle();

    // Modes and closing.
    void onClose(wxCloseEvent& event);
    void connectSlideShow();
    void onSetFocus(wxFocusEvent& event);
    void onFolderSelected(const platform::ItemIdList& folder);
    void writeSettings();
    settings::WindowPlacement currentPlacement() const;
    void applyPlacement(const settings::WindowPlacement& placement);

    AppContext& m_context;
    const CSystemImageLists& m_iconLists;
    CResourcePictures m_pictures;

    CSuperSplitterWnd* m_outer = nullptr;
    CSuperSplitterWnd* m_inner = nullptr;
    CBrowserView* m_browserView = nullptr;
    CImagePreviewView* m_previewView = nullptr;
    // The editor's floating histogram, shown in the image mode while the flag is set.
    CDlgHistogram* m_histogramDialog = nullptr;
    bool m_showHistogram = false;
    CWorkSpaceView* m_workspace = nullptr;
    CImageView* m_imageView = nullptr;
    CSlideView* m_slideView = nullptr;

    wxPanel* m_bars = nullptr;  // the band area: browser tool bar, address band, image tool bar
    wxToolBar* m_browserBar = nullptr;
    wxPanel* m_addressBand = nullptr;
    wxComboBox* m_addressBox = nullptr;
    wxToolBar* m_imageBar = nullptr;
    std::unique_ptr<wxImageList> m_normalImages;
    std::unique_ptr<wxImageList> m_disabledImages;
    CSuperStatusBar* m_statusBar = nullptr;
    // Both menu bars live as long as the frame; the one not shown is owned here.
    wxMenuBar* m_browserMenu = nullptr;
    wxMenuBar* m_imageMenu = nullptr;

    CommandRouter m_router;
    CommandHandlers m_frameCommands;
    // Before the receivers that use it: it goes after them, waiting for a running operation.
    std::unique_ptr<FileActions> m_fileActions;
    std::unique_ptr<ListCommandReceiver> m_listReceiver;
    std::unique_ptr<TreeCommandReceiver> m_treeMenuCommands;
    std::unique_ptr<TreeCommandReceiver> m_treeContextCommands;
    // The favorites tree has no commands of its own yet: routed there, a command is disabled
    // rather than passed to another window.
    CommandHandlers m_treeCommands;
    NavigationHistory m_history;
    bool m_browsingHistory = false;  // browsing through the history does not record

    bool m_showToolBar = true;
    bool m_showAddressBar = true;
    bool m_showStatusBar = true;
    bool m_initialised = false;
    bool m_fullScreen = false;
    bool m_exitRequested = false;
    int m_mode = kBrowserMode;
    int m_previousMode = kBrowserMode;
    wxWindow* m_savedFocus = nullptr;  // the browser pane active before the image mode
    wxRect m_normalRect;               // the last rectangle while neither maximised nor minimised
    settings::WindowPlacement m_fullScreenPlacement;
};

}  // namespace tarn
