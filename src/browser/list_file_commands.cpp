// The thumbnail list's file commands: clipboard, paste, delete, new folder, copy and move
// to a folder, the desktop's programs.
#include <algorithm>

#include "browser/file_actions.h"
#include "browser/file_classification.h"
#include "browser/image_list_ctrl.h"
#include "browser/list_command_receiver.h"

namespace tarn {

namespace {

// The item a command acts on: the focused one while items are selected.
const FolderItem* actedOn(const FolderModel& model) {
    const FolderItem* focused = model.item(model.focusedIndex());
    return model.selectedCount() > 0 && focused != nullptr ? focused : nullptr;
}

bool everySelectedHas(const FolderModel& model, std::uint32_t attribute) {
    if (model.selectedCount() == 0) {
        return false;
    }
    for (int i = 0; i < model.count(); ++i) {
        const FolderItem& item = *model.item(i);
        if (item.selected &&
            (!item.fileSystem || model.shell().attributes(item.absoluteId, attribute) == 0)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ListCommandReceiver::itemOrFolderPath() const {
    const FolderModel& model = m_list.model();
    const FolderItem* item = actedOn(model);
    return item != nullptr ? item->path : model.folderPath();
}

std::string ListCommandReceiver::pasteTarget() const {
    const FolderModel& model = m_list.model();
    const FolderItem* item = actedOn(model);
    // Onto a selected folder; with a file selected, into the folder that shows it.
    return item != nullptr && item->kind == kKindFolder && item->fileSystem ? item->path
                                                                            : model.folderPath();
}

void ListCommandReceiver::addFileCommands(FileActions& files) {
    m_files = &files;
    const FolderModel& model = m_list.model();
    const auto every = [&model](std::uint32_t attribute) {
        return [&model, attribute] { return everySelectedHas(model, attribute); };
    };
    const auto focusedFile = [&model] {
        const FolderItem* item = actedOn(model);
        return item != nullptr && item->fileSystem && item->kind != kKindFolder;
    };
    const auto paths = [&model] { return model.selectedPaths(); };
    const auto afterChange = [this](const FileOpResult&) { reload(); };

    add(
        cmd::kNewFolder, [&model] { return !model.folderPath().empty(); }, [this] { newFolder(); });
    add(
        cmd::kRename, [this] { return m_list.mayRename(m_list.model().focusedIndex()); },
        [this] { m_list.editLabel(m_list.model().focusedIndex()); });
    add(
        cmd::kLocateOnDisk, [this] { return !itemOrFolderPath().empty(); },
        [this, &files] { files.locate(itemOrFolderPath()); });
    add(cmd::kCut, every(platform::kAttrCanMove), [&files, paths] { files.cut(paths()); });
    add(cmd::kCopy, every(platform::kAttrCanCopy), [&files, paths] { files.copy(paths()); });
    add(
        cmd::kPaste, [this, &files] { return !files.busy() && files.canPaste(pasteTarget()); },
        [this, &files, afterChange] { files.paste(pasteTarget(), afterChange); });
    add(cmd::kDelete, every(platform::kAttrCanDelete),
        [&files, paths, afterChange] { files.remove(paths(), afterChange); });
    add(cmd::kCopyToFolder, every(platform::kAttrCanCopy),
        [&files, paths, afterChange] { files.copyToFolder(paths(), afterChange); });
    add(cmd::kMoveToFolder, every(platform::kAttrCanMove),
        [&files, paths, afterChange] { files.moveToFolder(paths(), afterChange); });
    add(cmd::kOpenWithProgram, focusedFile,
        [&files, &model] { files.openWithProgram(actedOn(model)->path); });
    add(cmd::kOpenWithEditor, focusedFile,
        [&files, &model] { files.openWithEditor(actedOn(model)->path); });
    const auto everyImage = [&model] {
        if (model.selectedCount() == 0) {
            return false;
        }
        for (int i = 0; i < model.count(); ++i) {
            if (model.item(i)->selected && model.item(i)->kind != kKindImage) {
                return false;
            }
        }
        return true;
    };
    const auto rotate = [this, &files, paths](int degrees) {
        return [this, &files, paths, degrees] {
            if (files.rotate(paths(), degrees)) {
                reload();
            }
        };
    };
    add(cmd::kRotateLeft, everyImage, rotate(90));
    add(cmd::kRotateRight, everyImage, rotate(270));
    add(cmd::kRotate180, everyImage, rotate(180));
    add(
        cmd::kPrint,
        [&model] {
            const FolderItem* item = actedOn(model);
            return item != nullptr && item->kind == kKindImage;
        },
        [&files, &model] { files.print(actedOn(model)->path); });
    add(
        cmd::kProperties, [this] { return !itemOrFolderPath().empty(); },
        [this, &files, &model] {
            if (actedOn(model) == nullptr) {
                files.properties({model.folderPath()}, 0);
                return;
            }
            // Prev and Next step through the selection.
            const std::vector<std::string> selected = model.selectedPaths();
            const auto at = std::find(selected.begin(), selected.end(), actedOn(model)->path);
            files.properties(selected, static_cast<int>(at - selected.begin()) %
                                           static_cast<int>(selected.size()));
        });
    add(
        cmd::kCopyImageToClipboard, [&model] { return model.targetIsImage(model.focusedIndex()); },
        [&files, &model] {
            files.copyImageToClipboard(model.item(model.focusedIndex())->targetPath);
        });
}

void ListCommandReceiver::newFolder() {
    FolderModel& model = m_list.model();
    const std::optional<std::string> name =
        m_files->newFolder(model.folderPath(), model.allDisplayNames());
    if (!name) {
        return;
    }
    reload();
    for (int i = 0; i < model.count(); ++i) {
        if (model.item(i)->displayName == *name) {
            m_list.SetFocus();
            m_list.selectOnly(i);
            m_list.ensureVisible(i);
            m_list.editLabel(i);
            break;
        }
    }
}

}  // namespace tarn
