#include "browser/file_actions.h"

#include <wx/dirdlg.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "app/app_context.h"
#include "browser/file_clipboard.h"
#include "browser/rotate_files.h"
#include "common/program_name.h"
#include "imaging/fip_super_image.h"
#include "imaging/image_draw.h"
#include "platform/desktop_launcher.h"

namespace tarn {

FileActions::FileActions(wxWindow& owner, AppContext& context)
    : m_owner(owner), m_context(context), m_runner(owner) {
    m_prompts.chooseFolder = [this](const std::string& title,
                                    const std::string& prompt) -> std::optional<std::string> {
        wxDirDialog dialog(&m_owner, wxString::FromUTF8(prompt), wxEmptyString,
                           wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
        // The picker has room for one line: the title; the prompt says which folder is asked.
        dialog.SetTitle(wxString::FromUTF8(title + " - " + prompt));
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        return dialog.GetPath().utf8_string();
    };
    m_prompts.error = [this](const std::string& text) {
        wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(std::string(kProgramTitle)),
                     wxOK | wxICON_EXCLAMATION, &m_owner);
    };
    m_runner.prompts().error = [this](const std::string& text) { m_prompts.error(text); };
}

void FileActions::cut(const std::vector<std::string>& paths) const {
    putFilesOnClipboard({paths, true});
}

void FileActions::copy(const std::vector<std::string>& paths) const {
    putFilesOnClipboard({paths, false});
}

bool FileActions::canPaste(const std::string& targetFolder) const {
    return !targetFolder.empty() && clipboardHasFiles();
}

void FileActions::paste(const std::string& targetFolder, Done done) {
    const std::optional<platform::ClipboardFiles> files = filesOnClipboard();
    if (!files || files->paths.empty()) {
        return;
    }
    FileOpRequest request;
    request.kind = files->cut ? FileOpKind::Move : FileOpKind::Copy;
    request.sources = files->paths;
    request.targetFolder = targetFolder;
    m_runner.start(std::move(request), std::move(done));
}

void FileActions::remove(const std::vector<std::string>& paths, Done done) {
    FileOpRequest request;
    request.kind = FileOpKind::Trash;
    request.sources = paths;
    m_runner.start(std::move(request), std::move(done));
}

void FileActions::copyToFolder(const std::vector<std::string>& paths, Done done) {
    transfer(FileOpKind::Copy, paths, "Copy Files", "Select folder to copy to", std::move(done));
}

void FileActions::moveToFolder(const std::vector<std::string>& paths, Done done) {
    transfer(FileOpKind::Move, paths, "Move Files", "Select folder to move to", std::move(done));
}

void FileActions::transfer(FileOpKind kind, const std::vector<std::string>& paths,
                           const char* title, const char* prompt, Done done) {
    const std::optional<std::string> target = m_prompts.chooseFolder(title, prompt);
    if (!target) {
        return;
    }
    FileOpRequest request;
    request.kind = kind;
    request.sources = paths;
    request.targetFolder = *target;
    m_runner.start(std::move(request), std::move(done));
}

std::optional<std::string> FileActions::newFolder(
    const std::string& parent, const std::vector<std::string>& existingNames) const {
    const std::string name = uniqueNewFolderName(existingNames);
    std::string error;
    if (!createFolder(parent, name, &error)) {
        m_prompts.error("Cannot create the folder \"" + name + "\" in \"" + parent +
                        "\": " + error);
        return std::nullopt;
    }
    return name;
}

void FileActions::openWithProgram(const std::string& path) const {
    std::string error;
    const bool ok = m_context.launcher->openWithDefault(path, &error);
    launched(ok, "Cannot open \"" + path + "\": " + error);
}

void FileActions::openWithEditor(const std::string& path) const {
    std::string error;
    const bool ok = m_context.launcher->openWithEditor(path, &error);
    launched(ok, "Cannot open \"" + path + "\" for editing: " + error);
}

void FileActions::locate(const std::string& path) const {
    std::string error;
    const bool ok = m_context.launcher->showInFileManager(path, &error);
    launched(ok, "Cannot show \"" + path + "\" in the file manager: " + error);
}

void FileActions::copyImageToClipboard(const std::string& path) const {
    fipSuperImage image;
    if (image.load(path.c_str()) && image.isValid()) {
        putImageOnClipboard(image);
    }
}

bool FileActions::rotate(const std::vector<std::string>& paths, int degrees) const {
    const wxBusyCursor busy;
    std::vector<std::string> failures;
    const int saved = rotateImageFiles(paths, degrees, &failures);
    if (!failures.empty()) {
        std::string text = "Cannot rotate and save:";
        for (const std::string& path : failures) {
            text += "\n" + path;
        }
        m_prompts.error(text);
    }
    return saved > 0;
}

void FileActions::properties(const std::vector<std::string>& paths, int index) const {
    if (m_prompts.properties && !paths.empty()) {
        m_prompts.properties(paths, index);
    }
}

void FileActions::print(const std::string& path) const {
    if (m_prompts.print) {
        m_prompts.print(path);
    }
}

void FileActions::launched(bool ok, const std::string& error) const {
    if (!ok) {
        m_prompts.error(error);
    }
}

}  // namespace tarn
