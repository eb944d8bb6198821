#include "frame/main_frame.h"

#include <wx/display.h>
#include <wx/menu.h>

#include "browser/browser_view.h"
#include "browser/file_actions.h"
#include "browser/image_list_ctrl.h"
#include "browser/list_command_receiver.h"
#include "browser/shell_tree.h"
#include "browser/tree_command_receiver.h"
#include "frame/super_status_bar.h"
#include "frame/workspace_view.h"
#include "info/dlg_histogram.h"
#include "info/image_preview_view.h"
#include "slideshow/slide_view.h"
#include "viewer/image_view.h"
#include "widgets/super_splitter_wnd.h"

namespace tarn {

CMainFrame::CMainFrame(AppContext& context, const CSystemImageLists& iconLists)
    : wxFrame(nullptr, wxID_ANY, wxString::FromUTF8(std::string(kProgramTitle))),
      m_context(context),
      m_iconLists(iconLists),
      m_pictures(context.folders.programFolder) {
    m_showToolBar = context.settings.get(settings::kShowToolBar);
    m_showAddressBar = context.settings.get(settings::kShowAddressBar);
    m_showStatusBar = context.settings.get(settings::kShowStatusBar);

    SetMinSize(wxSize(kFrameMinSize, kFrameMinSize));
    // The client area is always covered by the children.
    SetBackgroundStyle(wxBG_STYLE_PAINT);

    createBars();
    m_slideView = new CSlideView(this, m_pictures);
    m_slideView->Hide();
    m_statusBar = new CSuperStatusBar(this);
    SetStatusBar(m_statusBar);
    m_statusBar->Show(m_showStatusBar);
    m_imageView = new CImageView(this, *this, m_context);
    m_imageView->Hide();
    createPanes();
    createCommands();
    connectSlideShow();
    updateBands();
    updateTitle();

    Bind(wxEVT_SIZE, &CMainFrame::onSize, this);
    Bind(wxEVT_MOVE, &CMainFrame::onMove, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::onClose, this);
    Bind(wxEVT_SET_FOCUS, &CMainFrame::onSetFocus, this);
    Bind(wxEVT_ERASE_BACKGROUND, [](wxEraseEvent&) {});
}

CMainFrame::~CMainFrame() {
    writeSettings();
    // The frame deletes the menu bar it shows; the other one is ours.
    delete (GetMenuBar() == m_browserMenu ? m_imageMenu : m_browserMenu);
}

CImageListCtrl* CMainFrame::imageList() const {
    return m_workspace->list();
}

CShellTree* CMainFrame::folderTree() const {
    return m_browserView->folderTree();
}

void CMainFrame::createPanes() {
    m_outer = new CSuperSplitterWnd(this);
    m_inner = new CSuperSplitterWnd(m_outer);
    m_browserView = new CBrowserView(m_inner, m_context, m_iconLists, m_pictures);
    m_previewView = new CImagePreviewView(m_inner, m_context.settings);
    m_histogramDialog = new CDlgHistogram(this);
    m_histogramDialog->setCloseHandler([this] { m_showHistogram = false; });
    m_workspace = new CWorkSpaceView(m_outer, m_context, m_iconLists);
    m_inner->SplitHorizontally(m_browserView, m_previewView, 200);
    m_outer->SplitVertically(m_inner, m_workspace, kOuterLeftWidth);
    m_outer->setResizeListener([this](const wxRect& rect) { onOuterResized(rect); });
    m_inner->setResizeListener([this](const wxRect& rect) { onInnerResized(rect); });
    m_inner->SetSashGravity(1.0);  // the preview keeps its height when the frame is resized

    folderTree()->setFolderSelectedHandler(
        [this](const platform::ItemIdList& folder) { onFolderSelected(folder); });
    imageList()->setFolderOpenHandler(
        [this](const platform::ItemIdList& folder) { folderTree()->selectFolder(folder); });
    // Going up from a folder that vanished is a visit like any other: the tree selects it.
    imageList()->setFolderGoneHandler(
        [this](const platform::ItemIdList& folder) { folderTree()->selectFolder(folder); });
    folderTree()->setVolumesChangedHandler([this] { imageList()->leaveIfGone(); });
    imageList()->setOpenHandler([this](int index) { openFromList(index); });
}

void CMainFrame::activateFirstTime() {
    if (m_initialised) {
        return;
    }
    const auto placement = usablePlacement(m_context.settings.placement());
    if (placement) {
        applyPlacement(*placement);
    } else {
        // A size close to the final one first, so the splitters start from real proportions.
        const int display = wxDisplay::GetFromWindow(this);
        SetSize(wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display))
                    .GetClientArea());
        Show();
        Maximize();
    }
    layoutClient();

    m_outer->setLimits(kOuterMinLeft, kOuterMinRight, -1, -1);
    m_outer->SetSashPosition(kOuterLeftWidth);
    m_inner->setLimits(-1, -1, kInnerMinTop, kInnerMinBottom);
    m_inner->SetSashPosition(initialInnerTopHeight(GetClientSize().y));

    selectInitialLocation();
    m_initialised = true;
    refreshStatus();
}

void CMainFrame::selectInitialLocation() {
    // The address history comes later; until then the picture folder is the first place.
    m_browserView->showFolders();
    const auto pictures = m_context.specialFolders->picturesFolder();
    if (pictures) {
        if (const auto id = m_context.shell.idFromPath(*pictures)) {
            folderTree()->selectFolder(*id);
        }
    }
    folderTree()->expandRootAndSelection();
}

void CMainFrame::onFolderSelected(const platform::ItemIdList& folder) {
    if (imageList()->browse(folder, kBrowseFromTree)) {
        recordVisit(folder, kBrowseFromTree);
    }
    if (m_addressBox != nullptr) {
        m_addressBox->SetValue(wxString::FromUTF8(m_context.shell.parsingName(folder)));
    }
    updateTitle();
}

void CMainFrame::updateTitle() {
    if (m_mode == kImageMode) {
        SetTitle(wxString::FromUTF8(frameTitle(m_imageView->titleName())));
        return;
    }
    std::string name;
    if (m_mode == kBrowserMode && m_workspace != nullptr && imageList()->model().hasFolder()) {
        name = imageList()->model().folderDisplayName();
    }
    SetTitle(wxString::FromUTF8(frameTitle(name)));
}

void CMainFrame::layoutClient() {
    const wxSize client = GetClientSize();
    int barsHeight = 0;
    if (m_bars != nullptr && m_bars->IsShown()) {
        m_bars->Layout();
        barsHeight = m_bars->GetBestSize().y;
        m_bars->SetSize(0, 0, client.x, barsHeight);
    }
    const wxRect content(0, barsHeight, client.x, std::max(0, client.y - barsHeight));
    if (m_outer != nullptr) {
        m_outer->SetSize(content);
    }
    // The image and slide views always cover the outer splitter's rectangle.
    if (m_imageView != nullptr) {
        m_imageView->SetSize(content);
    }
    if (m_slideView != nullptr) {
        m_slideView->SetSize(content);
    }
}

void CMainFrame::onSize(wxSizeEvent& event) {
    event.Skip();
    layoutClient();
    keepThumbnailPaneWide();
    rememberNormalRect();
    if (m_initialised) {
        refreshStatus();
    }
}

void CMainFrame::onMove(wxMoveEvent& event) {
    event.Skip();
    rememberNormalRect();
}

void CMainFrame::rememberNormalRect() {
    if (!m_fullScreen && !IsMaximized() && !IsIconized() && IsShown()) {
        m_normalRect = GetRect();
    }
}

void CMainFrame::onOuterResized(const wxRect& rect) {
    if (m_imageView != nullptr) {
        m_imageView->SetSize(rect);
    }
    if (m_slideView != nullptr) {
        m_slideView->SetSize(rect);
    }
}

void CMainFrame::keepThumbnailPaneWide() {
    // The window manager passes the frame through a few-pixel size while it maps it; no real
    // frame is narrower than half its minimum size.
    const int width = GetClientSize().x;
    if (!m_initialised || !m_outer->IsSplit() || width < kFrameMinSize / 2) {
        return;
    }
    const int gap = m_outer->GetSashSize();
    const int left = m_outer->GetSashPosition();
    if (const auto newLeft = outerLeftAfterResize(left, width - left - gap, width, gap)) {
        m_outer->SetSashPosition(*newLeft);
    }
}

void CMainFrame::onInnerResized(const wxRect& rect) {
    // The lower row keeps its height (the splitter's gravity gives every change to the upper
    // row); the upper row never goes below its limit.
    if (!m_initialised || !m_inner->IsSplit() || rect.height <= 0) {
        return;
    }
    const int top = m_inner->GetSashPosition();
    if (innerTopAfterResize(top, 0) != top) {
        m_inner->SetSashPosition(innerTopAfterResize(top, 0));
    }
}

void CMainFrame::onSetFocus(wxFocusEvent& event) {
    if (m_mode == kImageMode) {
        m_imageView->SetFocus();
    } else if (m_mode == kSlideShowMode) {
        m_slideView->SetFocus();
    } else {
        event.Skip();
    }
}

}  // namespace tarn
