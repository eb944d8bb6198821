// Commands of the main frame: the menus of both modes, the tool-bar drop-downs, the
// accelerator path, the routing of commands and their enabling, back/forward/up and the
// status bar's contents.
#include <sys/stat.h>

#include "frame/main_frame.h"
// after the frame header, which brings wx/defs.h
#include <wx/textentry.h>

#include "browser/browser_view.h"
#include "browser/file_actions.h"
#include "browser/image_list_ctrl.h"
#include "browser/list_command_receiver.h"
#include "browser/shell_tree.h"
#include "browser/tree_command_receiver.h"
#include "commands/key_bindings.h"
#include "commands/menu_builder.h"
#include "common/path_rules.h"
#include "desktop/image_printout.h"
#include "dialogs/file_property_dlg.h"
#include "frame/super_status_bar.h"
#include "info/dlg_histogram.h"
#include "info/histogram_wnd.h"
#include "info/image_preview_view.h"
#include "viewer/image_view.h"

namespace tarn {

// The frame's own commands: bar toggles, thumbnail sizes, zoom presets, history, the Sort
// button, Open, Exit.
void CMainFrame::addFrameCommands() {
    CommandHandlers& c = m_frameCommands;
    const auto always = CommandHandlers::always;
    const auto browser = [this] { return m_mode == kBrowserMode; };
    const auto canBack = [this] { return m_mode == kBrowserMode && m_history.canGoBack(); };
    const auto canForward = [this] { return m_mode == kBrowserMode && m_history.canGoForward(); };
    const auto canUp = [this] { return m_mode == kBrowserMode && canGoUp(); };
    const auto imageOpen = [this] { return m_mode == kImageMode && m_imageView->hasImage(); };
    const auto shown = [](const bool& flag) { return [&flag] { return flag; }; };

    for (int id = cmd::kThumbSize36; id <= cmd::kThumbSize200; ++id) {
        const int size = *thumbnailSizeOf(id);
        c.add(
            id, always, [this, size] { return imageList()->thumbSize().x == size; },
            [this, size] { setThumbnailSize(size); });
    }
    for (const Command& row : commands()) {
        if (const auto factor = zoomPresetFactor(row.id)) {
            c.add(
                row.id, imageOpen, [this, f = *factor] { return viewZoom() == f; },
                [this, f = *factor] { m_imageView->setFixedZoom(f); });
        }
    }
    c.add(cmd::kToolBar, always, shown(m_showToolBar), [this] { setToolBarShown(!m_showToolBar); });
    c.add(cmd::kAddressBar, browser, shown(m_showAddressBar),
          [this] { setAddressBarShown(!m_showAddressBar); });
    c.add(cmd::kStatusBar, always, shown(m_showStatusBar),
          [this] { setStatusBarShown(!m_showStatusBar); });
    c.add(cmd::kBack, canBack, [this] { goBack(); });
    c.add(cmd::kForward, canForward, [this] { goForward(); });
    c.add(cmd::kUp, canUp, [this] { goUp(); });
    c.add(cmd::kSort, browser, [this] { showSortMenu(); });
    c.add(cmd::kExit, always, [this] { requestExit(); });
    c.add(cmd::kOpen, always, [this] { m_imageView->openFromDialog(); });
    // In the image mode, where the command is, the flag says whether the window shows.
    c.add(cmd::kShowHistogram, always, shown(m_showHistogram),
          [this] { setHistogramShown(!m_showHistogram); });
    // The lossless transformations act on the open file or on the list's selection; the slide
    // show offers them with nothing to act on.
    const auto canTransform = [this] {
        switch (m_mode) {
            case kBrowserMode:
                return m_listReceiver->canTransformJpeg();
            case kImageMode:
                return m_imageView->canTransformJpeg();
            default:
                return true;
        }
    };
    const auto transform = [this](JpegTransform operation) {
        return [this, operation] {
            if (m_mode == kBrowserMode) {
                m_listReceiver->transformJpeg(operation);
            } else if (m_mode == kImageMode) {
                m_imageView->transformJpeg(operation);
            }
        };
    };
    c.add(cmd::kJpegRotateLeft, canTransform, transform(JpegTransform::Rotate270));
    c.add(cmd::kJpegRotateRight, canTransform, transform(JpegTransform::Rotate90));
    c.add(cmd::kJpegRotate180, canTransform, transform(JpegTransform::Rotate180));
    c.add(cmd::kJpegFlipVertical, canTransform, transform(JpegTransform::FlipVertical));
    c.add(cmd::kJpegFlipHorizontal, canTransform, transform(JpegTransform::FlipHorizontal));
}

namespace {

// The key of an event in the table's terms; nothing for keys no table entry can name.
std::optional<KeyStroke> keyStrokeOf(const wxKeyEvent& event) {
    KeyStroke key{KeyCode::Char};
    const int code = event.GetKeyCode();
    switch (code) {
        case WXK_F1:
            key.code = KeyCode::F1;
            break;
        case WXK_F2:
            key.code = KeyCode::F2;
            break;
        case WXK_F3:
            key.code = KeyCode::F3;
            break;
        case WXK_F4:
            key.code = KeyCode::F4;
            break;
        case WXK_F5:
            key.code = KeyCode::F5;
            break;
        case WXK_F11:
            key.code = KeyCode::F11;
            break;
        case WXK_LEFT:
        case WXK_NUMPAD_LEFT:
            key.code = KeyCode::Left;
            break;
        case WXK_RIGHT:
        case WXK_NUMPAD_RIGHT:
            key.code = KeyCode::Right;
            break;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            key.code = KeyCode::Enter;
            break;
        case WXK_ESCAPE:
            key.code = KeyCode::Escape;
            break;
        case WXK_DELETE:
        case WXK_NUMPAD_DELETE:
            key.code = KeyCode::Delete;
            break;
        case WXK_PAGEUP:
        case WXK_NUMPAD_PAGEUP:
            key.code = KeyCode::PageUp;
            break;
        case WXK_PAGEDOWN:
        case WXK_NUMPAD_PAGEDOWN:
            key.code = KeyCode::PageDown;
            break;
        case WXK_HOME:
        case WXK_NUMPAD_HOME:
            key.code = KeyCode::Home;
            break;
        case WXK_END:
        case WXK_NUMPAD_END:
            key.code = KeyCode::End;
            break;
        case WXK_PAUSE:
            key.code = KeyCode::Pause;
            break;
        case WXK_NUMPAD_ADD:
            key.code = KeyCode::NumpadAdd;
            break;
        case WXK_NUMPAD_SUBTRACT:
            key.code = KeyCode::NumpadSubtract;
            break;
        case WXK_NUMPAD_MULTIPLY:
            key.code = KeyCode::NumpadMultiply;
            break;
        case WXK_NUMPAD_DIVIDE:
            key.code = KeyCode::NumpadDivide;
            break;
        default:
            if (code <= ' ' || code >= 0x7f) {
                return std::nullopt;
            }
            key.ch = static_cast<char>(code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code);
            break;
    }
    const int modifiers = event.GetModifiers();
    key.ctrl = (modifiers & wxMOD_CONTROL) != 0;
    key.alt = (modifiers & wxMOD_ALT) != 0;
    key.shift = (modifiers & wxMOD_SHIFT) != 0;
    return key;
}

int acceleratorCommand(const KeyStroke& key) {
    for (const Accelerator& a : accelerators()) {
        if (a.key == key) {
            return a.command;
        }
    }
    return 0;
}

bool isWithin(const wxWindow* window, const wxWindow* ancestor) {
    for (; window != nullptr && ancestor != nullptr; window = window->GetParent()) {
        if (window == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

int CMainFrame::toolId(int command) {
    const int id = commandUiId(command);
    return id < 0 ? wxID_NONE : id;
}

void CMainFrame::createCommands() {
    addFrameCommands();
    m_fileActions = std::make_unique<FileActions>(*this, m_context);
    m_fileActions->prompts().properties = [this](const std::vector<std::string>& paths, int index) {
        CFilePropertyDlg dialog(this, paths, index);
        dialog.ShowModal();
    };
    m_fileActions->prompts().print = [this](const std::string& path) {
        printImageFile(this, path, m_context.folders.tempFolder);
    };
    m_listReceiver = std::make_unique<ListCommandReceiver>(*imageList());
    m_listReceiver->addFileCommands(*m_fileActions);
    m_listReceiver->setRefreshHandler([this] {
        if (const wxTreeItemId selected = folderTree()->GetSelection(); selected.IsOk()) {
            folderTree()->refreshChildren(selected);
        }
    });
    using ActsOn = TreeCommandReceiver::ActsOn;
    m_treeMenuCommands =
        std::make_unique<TreeCommandReceiver>(*folderTree(), *m_fileActions, ActsOn::SelectedNode);
    m_treeContextCommands =
        std::make_unique<TreeCommandReceiver>(*folderTree(), *m_fileActions, ActsOn::ContextNode);
    for (TreeCommandReceiver* tree : {m_treeMenuCommands.get(), m_treeContextCommands.get()}) {
        tree->setListRefreshHandler([this] { imageList()->refresh(); });
    }
    folderTree()->setContextCommands(m_treeContextCommands.get());
    m_listReceiver->setFullScreenHandler([this](int index) {
        imageList()->openItem(index);
        if (m_mode == kImageMode) {
            m_imageView->setFullScreen(true);
        }
    });
    m_router.setReceiver(Receiver::Frame, &m_frameCommands);
    m_router.setReceiver(Receiver::ThumbnailList, m_listReceiver.get());
    m_router.setReceiver(Receiver::ImageView, &m_imageView->receiver());
    m_router.setReceiver(Receiver::FolderTree, m_treeMenuCommands.get());
    m_router.setReceiver(Receiver::FavoritesTree, &m_treeCommands);
    m_router.setReceiver(Receiver::PreviewHistogram, &m_previewView->histogram()->commands());

    m_browserMenu = buildMenuBar(menu(MenuId::Browser));
    m_imageMenu = buildMenuBar(menu(MenuId::Image));
    SetMenuBar(m_mode == kImageMode ? m_imageMenu : m_browserMenu);

    for (wxToolBar* bar : {m_browserBar, m_imageBar}) {
        for (std::size_t i = 0; i < bar->GetToolsCount(); ++i) {
            const wxToolBarToolBase* tool = bar->GetToolByPos(static_cast<int>(i));
            const int command = commandOfUiId(tool->GetId());
            const Command* row = findCommand(command);
            if (row == nullptr) {
                continue;
            }
            bar->SetToolShortHelp(tool->GetId(), wxString::FromUTF8(toolTipText(*row)));
            if (const MenuNode* drop = dropDownMenu(command)) {
                bar->SetDropdownMenu(tool->GetId(), buildMenu(drop->children));
            }
        }
    }

    Bind(wxEVT_UPDATE_UI, &CMainFrame::onUpdateUi, this, kFirstCommandUiId, lastCommandUiId());
    Bind(wxEVT_MENU, &CMainFrame::onCommand, this, kFirstCommandUiId, lastCommandUiId());
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::onCharHook, this);

    m_statusBar->setSliderHandler([this](int position) {
        if (m_mode == kBrowserMode) {
            imageList()->setSizeTracking(m_statusBar->tracking());
            imageList()->setThumbSize(sliderToThumbnailSize(position),
                                      sliderToThumbnailSize(position));
        } else if (m_mode == kImageMode) {
            m_imageView->setCustomZoom(sliderToZoom(position));
        }
    });
    m_statusBar->setSettleHandler([this] {
        if (m_mode == kBrowserMode) {
            imageList()->setSizeTracking(false);
            imageList()->Refresh();
        } else if (m_mode == kImageMode) {
            m_imageView->Refresh();
        }
    });
    m_statusBar->setThumbnailSlider(imageList()->thumbSize().x);
    imageList()->setStatusHandler([this] { refreshStatus(); });
    // The information pane follows the focus at once; an item without a file leaves it.
    imageList()->setFocusChangeHandler([this](int index) {
        const FolderItem* item = imageList()->model().item(index);
        if (item == nullptr) {
            m_previewView->showFile({});
        } else if (!item->targetPath.empty()) {
            m_previewView->showFile(item->targetPath);
        }
    });
}

FocusedPane CMainFrame::focusedPane() const {
    const wxWindow* focus = wxWindow::FindFocus();
    if (isWithin(focus, folderTree())) {
        return FocusedPane::FolderTree;
    }
    if (isWithin(focus, m_browserView->favoritesTree())) {
        return FocusedPane::FavoritesTree;
    }
    if (isWithin(focus, imageList())) {
        return FocusedPane::ThumbnailList;
    }
    return FocusedPane::Other;
}

Receiver CMainFrame::commandReceiver(int command) const {
    return routeCommand(performedCommand(command), static_cast<FrameMode>(m_mode), focusedPane());
}

CommandState CMainFrame::commandState(int command) const {
    return m_router.state(command, static_cast<FrameMode>(m_mode), focusedPane());
}

bool CMainFrame::runCommand(int command) {
    return m_router.dispatch(command, static_cast<FrameMode>(m_mode), focusedPane());
}

void CMainFrame::onUpdateUi(wxUpdateUIEvent& event) {
    const int command = commandOfUiId(event.GetId());
    const CommandState state = commandState(command);
    event.Enable(state.enabled);
    const Command* row = findCommand(performedCommand(command));
    if (row != nullptr && row->checkable) {
        event.Check(state.checked);
    }
}

void CMainFrame::onCommand(wxCommandEvent& event) {
    runCommand(commandOfUiId(event.GetId()));
}

void CMainFrame::onCharHook(wxKeyEvent& event) {
    // The slide show has no keys: only its strip's Exit button ends it.
    if (m_mode == kSlideShowMode) {
        event.Skip();
        return;
    }
    const auto key = keyStrokeOf(event);
    // The image view's own keys come before the menus' accelerators.
    int command = 0;
    const wxWindow* focus = wxWindow::FindFocus();
    // A label editor inside the list or a tree keeps every key.
    const bool typing = dynamic_cast<const wxTextEntry*>(focus) != nullptr;
    if (key && m_mode == kImageMode && isWithin(focus, m_imageView)) {
        command = viewKeyCommand(KeyScope::ImageView, *key);
    } else if (key && m_mode == kBrowserMode && !typing) {
        const FocusedPane pane = focusedPane();
        if (pane == FocusedPane::ThumbnailList) {
            command = viewKeyCommand(KeyScope::ThumbnailList, *key);
        } else if (pane == FocusedPane::FolderTree || pane == FocusedPane::FavoritesTree) {
            command = viewKeyCommand(KeyScope::Trees, *key);
        }
    }
    if (command == 0 && key) {
        command = acceleratorCommand(*key);
    }
    if (command == 0) {
        event.Skip();
        return;
    }
    // Typing in the address bar or a label editor keeps its keys.
    if (typing && keyBelongsToTextFields(*key)) {
        event.Skip();
        return;
    }
    runCommand(command);
}

void CMainFrame::setHistogramShown(bool shown) {
    m_showHistogram = shown;
    m_histogramDialog->Show(shown && m_mode == kImageMode);
}

void CMainFrame::imageChanged() {
    if (m_histogramDialog != nullptr) {
        m_histogramDialog->setImage(m_imageView->document().image());
    }
}

void CMainFrame::imageBusy() {
    if (m_histogramDialog != nullptr) {
        m_histogramDialog->setImage(nullptr);
    }
}

void CMainFrame::showSortMenu() {
    const wxToolBarToolBase* tool = m_browserBar->FindById(commandUiId(cmd::kSort));
    if (tool == nullptr || tool->GetDropdownMenu() == nullptr) {
        return;
    }
    // The button's place is not known on every toolkit: the menu opens one pixel below the
    // bar, under the pointer.
    const wxPoint pointer = m_browserBar->ScreenToClient(wxGetMousePosition());
    m_browserBar->PopupMenu(tool->GetDropdownMenu(),
                            wxPoint(pointer.x, m_browserBar->GetClientSize().y + 1));
}

// ---- history ---------------------------------------------------------------------------

void CMainFrame::recordVisit(const platform::ItemIdList& folder, int source) {
    if (!m_browsingHistory) {
        m_history.record(folder, source);
    }
}

void CMainFrame::browseEntry(const HistoryEntry* entry) {
    if (entry == nullptr) {
        return;
    }
    // Only the folder tree exists so far; a favorites entry cannot be recorded yet.
    if (entry->source != kBrowseFromTree) {
        return;
    }
    m_browsingHistory = true;
    m_browserView->showFolders();
    folderTree()->selectFolder(entry->list);
    m_browsingHistory = false;
}

void CMainFrame::goBack() {
    browseEntry(m_history.back());
}

void CMainFrame::goForward() {
    browseEntry(m_history.forward());
}

bool CMainFrame::canGoUp() const {
    return imageList()->model().browseSource() == kBrowseFromTree && folderTree()->canGoUp();
}

void CMainFrame::goUp() {
    if (canGoUp()) {
        folderTree()->selectParent();  // the tree hands the parent out, which records it
    }
}

}  // namespace tarn
