#include "browser/list_command_receiver.h"

#include <wx/utils.h>

#include "browser/image_list_ctrl.h"

namespace tarn {

ListCommandReceiver::ListCommandReceiver(CImageListCtrl& list) : m_list(list) {
    const FolderModel& model = list.model();
    const auto sortKey = [this, &model](int command, int key) {
        add(
            command, always, [&model, key] { return model.sortKey() == key; },
            [this, key] { m_list.sortBy(key); });
    };
    const auto sortDirection = [this, &model](int command, int direction) {
        add(
            command, always, [&model, direction] { return model.sortDirection() == direction; },
            [this, direction] { m_list.setSortDirection(direction); });
    };
    const auto selected = [&model] { return model.selectedCount() > 0; };
    const auto canSlideShow = [this, &model] { return m_startSlideShow && model.imageCount() > 0; };
    const auto canFullScreen = [this, &model] {
        return m_openFullScreen && model.targetIsImage(model.focusedIndex());
    };

    sortKey(cmd::kSortByName, kSortByName);
    sortKey(cmd::kSortByDate, kSortByDate);
    sortKey(cmd::kSortByType, kSortByType);
    sortKey(cmd::kSortBySize, kSortBySize);
    sortKey(cmd::kSortByPhotoSize, kSortByPhotoSize);
    sortDirection(cmd::kSortForward, kSortForward);
    sortDirection(cmd::kSortBackward, kSortBackward);
    add(cmd::kSelectAll, always, [this] { m_list.selectAll(); });
    add(cmd::kSelectAllFiles, always, [this] { m_list.selectAllFiles(); });
    add(cmd::kSelectAllImages, always, [this] { m_list.selectAllImages(); });
    add(cmd::kInvertSelection, always, [this] { m_list.invertSelection(); });
    add(cmd::kClearSelection, selected, [this] { m_list.clearSelection(); });
    add(cmd::kRefresh, always, [this] { refresh(); });
    add(cmd::kSlideShow, canSlideShow, [this] { startSlideShow(); });
    add(cmd::kViewAndEdit, always, [this] { m_list.openItem(m_list.model().focusedIndex()); });
    add(cmd::kFullScreen, canFullScreen, [this] { openFullScreen(); });
}

int ListCommandReceiver::slideShowStart(const FolderModel& model) {
    if (model.selectedCount() == 0) {
        return model.nextImage(-1);
    }
    for (int i = 0; i < model.count(); ++i) {
        // An image by the slide show's own rule: the next image after i - 1 is i itself.
        if (model.item(i)->selected && model.nextImage(i - 1) == i) {
            return i;
        }
    }
    return -1;
}

void ListCommandReceiver::startSlideShow() {
    if (const int start = slideShowStart(m_list.model()); start >= 0 && m_startSlideShow) {
        m_startSlideShow(start);
    }
}

void ListCommandReceiver::refresh() {
    const wxBusyCursor busy;
    reload();
    // The wait cursor stays a moment, so that a refresh that changed nothing is still seen.
    wxMilliSleep(100);
}

void ListCommandReceiver::reload() {
    m_list.refresh();
    if (m_afterRefresh) {
        m_afterRefresh();
    }
}

void ListCommandReceiver::openFullScreen() {
    const int focused = m_list.model().focusedIndex();
    if (m_openFullScreen && m_list.model().targetIsImage(focused)) {
        m_openFullScreen(focused);
    }
}

}  // namespace tarn
