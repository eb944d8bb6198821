// The lossless JPEG transformations of the files selected in the thumbnail list.
#include <wx/utils.h>

#include "browser/file_classification.h"
#include "browser/image_list_ctrl.h"
#include "browser/list_command_receiver.h"

namespace tarn {

namespace {

bool namedJpeg(const std::string& path) {
    return FreeImage_GetFIFFromFilename(path.c_str()) == FIF_JPEG;
}

}  // namespace

bool ListCommandReceiver::canTransformJpeg() const {
    const FolderModel& model = m_list.model();
    if (model.selectedCount() == 0) {
        return false;
    }
    for (int i = 0; i < model.count(); ++i) {
        const FolderItem& item = *model.item(i);
        if (item.selected && item.kind != kKindFolder && !namedJpeg(item.path)) {
            return false;
        }
    }
    return true;
}

void ListCommandReceiver::transformJpeg(JpegTransform operation) {
    const FolderModel& model = m_list.model();
    bool changed = false;
    {
        const wxBusyCursor busy;
        for (int i = 0; i < model.count(); ++i) {
            const FolderItem& item = *model.item(i);
            if (!item.selected || item.kind == kKindFolder) {
                continue;
            }
            if (!namedJpeg(item.path)) {
                break;
            }
            changed = transformJpegFile(item.path, operation) || changed;
        }
    }
    if (changed) {
        reload();
    }
}

}  // namespace tarn
