// The image view's file commands: they act on the open file.
#include "browser/file_actions.h"
#include "browser/rename_rules.h"
#include "commands/command_ids.h"
#include "viewer/image_view.h"

namespace tarn {

void CImageView::addFileCommands() {
    CommandHandlers& c = m_commands;
    const auto open = [this] { return m_document.hasImage(); };
    const auto path = [this] { return m_document.path(); };
    // The frame makes its file utilities after its panes: asked for when a command runs.
    const auto files = [this]() -> FileActions& { return m_host.fileActions(); };
    c.add(cmd::kRename, open, [this] { renameFile(); });
    c.add(cmd::kCopyToFolder, open,
          [files, path] { files().copyToFolder({path()}, [](const FileOpResult&) {}); });
    c.add(cmd::kMoveToFolder, open, [this] { moveToFolder(); });
    // The file as it is stored: unsaved changes are not part of it.
    c.add(cmd::kOpenWithProgram, open, [files, path] { files().openWithProgram(path()); });
    c.add(cmd::kOpenWithEditor, open, [files, path] { files().openWithEditor(path()); });
    c.add(cmd::kLocateOnDisk, open, [files, path] { files().locate(path()); });
    c.add(cmd::kProperties, open, [files, path] { files().properties({path()}, 0); });
}

void CImageView::renameFile() {
    const std::string oldPath = m_document.path();
    const std::optional<std::string> name = m_prompts.rename(oldPath);
    if (!name) {
        return;
    }
    std::string problem;
    const std::optional<std::string> newPath = pathWithName(oldPath, *name, &problem);
    if (!newPath || *newPath == oldPath) {
        if (!problem.empty()) {
            m_prompts.warn(problem);
        }
        return;
    }
    if (!renameItem(oldPath, *newPath, &problem)) {
        m_prompts.warn(problem);
        return;
    }
    m_document.setPath(*newPath);
    m_host.refreshFolder();
    m_host.refreshTitle();
    m_host.refreshStatus();
}

void CImageView::moveToFolder() {
    if (!querySave()) {
        return;
    }
    const std::string next = nextImagePath();

    const std::string moved = m_document.path();
    m_host.fileActions().moveToFolder({moved}, [this, moved, next](const FileOpResult& result) {
        if (result.ok() && m_document.path() == moved) {
            closeAndOpenOneOf({next});
        }
    });
}

}  // namespace tarn
