#include "browser/list_command_receiver.h"

#include "browser/image_list_ctrl.h"

namespace tarn {

namespace {

// The model's sort key of a Sort By command; -1 for other commands.
int sortKeyOf(int command) {
    switch (command) {
        case cmd::kSortByName:
            return kSortByName;
        case cmd::kSortByDate:
            return kSortByDate;
        case cmd::kSortByType:
            return kSortByType;
        case cmd::kSortBySize:
            return kSortBySize;
        case cmd::kSortByPhotoSize:
            return kSortByPhotoSize;
        default:
            return -1;
    }
}

}  // namespace

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

std::optional<CommandState> ListCommandReceiver::commandState(int command) const {
    const FolderModel& model = m_list.model();
    if (const int key = sortKeyOf(command); key >= 0) {
        return CommandState{true, model.sortKey() == key};
    }
    switch (command) {
        case cmd::kSortForward:
            return CommandState{true, model.sortDirection() == kSortForward};
        case cmd::kSortBackward:
            return CommandState{true, model.sortDirection() == kSortBackward};
        case cmd::kSelectAll:
        case cmd::kSelectAllFiles:
        case cmd::kSelectAllImages:
        case cmd::kInvertSelection:
            return CommandState{model.count() > 0, false};
        case cmd::kClearSelection:
            return CommandState{model.selectedCount() > 0, false};
        case cmd::kRefresh:
            return CommandState{model.hasFolder(), false};
        case cmd::kSlideShow:
            if (!m_startSlideShow) {
                return std::nullopt;
            }
            return CommandState{model.imageCount() > 0, false};
        case cmd::kViewAndEdit:
            return CommandState{true, false};
        case cmd::kFullScreen:
            if (!m_openFullScreen) {
                return std::nullopt;
            }
            return CommandState{model.targetIsImage(model.focusedIndex()), false};
        default:
            return std::nullopt;
    }
}

void ListCommandReceiver::runCommand(int command) {
    if (const int key = sortKeyOf(command); key >= 0) {
        m_list.sortBy(key);
        return;
    }
    switch (command) {
        case cmd::kSortForward:
            m_list.setSortDirection(kSortForward);
            break;
        case cmd::kSortBackward:
            m_list.setSortDirection(kSortBackward);
            break;
        case cmd::kSelectAll:
            m_list.selectAll();
            break;
        case cmd::kSelectAllFiles:
            m_list.selectAllFiles();
            break;
        case cmd::kSelectAllImages:
            m_list.selectAllImages();
            break;
        case cmd::kClearSelection:
            m_list.clearSelection();
            break;
        case cmd::kInvertSelection:
            m_list.invertSelection();
            break;
        case cmd::kRefresh:
            m_list.refresh();
            break;
        case cmd::kSlideShow:
            if (const int start = slideShowStart(m_list.model()); start >= 0 && m_startSlideShow) {
                m_startSlideShow(start);
            }
            break;
        case cmd::kViewAndEdit:
            m_list.openItem(m_list.model().focusedIndex());
            break;
        case cmd::kFullScreen:
            if (m_openFullScreen && m_list.model().targetIsImage(m_list.model().focusedIndex())) {
                m_openFullScreen(m_list.model().focusedIndex());
            }
            break;
        default:
            break;
    }
}

}  // namespace tarn
