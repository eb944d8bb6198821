#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "browser/file_operation_runner.h"

class wxWindow;

namespace tarn {

struct AppContext;

// The file utilities the list, the folder tree and the image view share: the clipboard's file
// lists, paste, delete, copy and move to a chosen folder, new folders and the desktop's
// programs. Long operations run on the runner; done callbacks refresh what shows the files.
class FileActions {
public:
    using Done = FileOperationRunner::Done;

    FileActions(wxWindow& owner, AppContext& context);

    // Dialogs and messages; tests answer them.
    struct Prompts {
        // A folder picked with the folder picker; nullopt when cancelled.
        std::function<std::optional<std::string>(const std::string& title,
                                                 const std::string& prompt)>
            chooseFolder;
        std::function<void(const std::string& text)> error;
        // The properties dialog over the paths, showing the one at index.
        std::function<void(const std::vector<std::string>& paths, int index)> properties;
        // Prints the picture through the print dialog.
        std::function<void(const std::string& path)> print;
    };
    Prompts& prompts() { return m_prompts; }
    FileOperationRunner& runner() { return m_runner; }

    void cut(const std::vector<std::string>& paths) const;
    void copy(const std::vector<std::string>& paths) const;
    // Files on the clipboard and a folder to paste them into.
    bool canPaste(const std::string& targetFolder) const;
    // Moves what was cut, copies what was copied; the clipboard keeps its contents.
    void paste(const std::string& targetFolder, Done done);
    // To the Trash, from where the file manager can put it back.
    void remove(const std::vector<std::string>& paths, Done done);
    void copyToFolder(const std::vector<std::string>& paths, Done done);
    void moveToFolder(const std::vector<std::string>& paths, Done done);
    // Makes a uniquely named new folder; its name, or nullopt after the message.
    std::optional<std::string> newFolder(const std::string& parent,
                                         const std::vector<std::string>& existingNames) const;

    void openWithProgram(const std::string& path) const;
    void openWithEditor(const std::string& path) const;
    void locate(const std::string& path) const;
    // The picture as a bitmap; nothing when it cannot be loaded.
    void copyImageToClipboard(const std::string& path) const;
    // Turns the saved pictures counter-clockwise and writes them back; whether any changed.
    bool rotate(const std::vector<std::string>& paths, int degrees) const;
    void properties(const std::vector<std::string>& paths, int index) const;
    void print(const std::string& path) const;
    bool busy() const { return m_runner.busy(); }

private:
    void transfer(FileOpKind kind, const std::vector<std::string>& paths, const char* title,
                  const char* prompt, Done done);
    void launched(bool ok, const std::string& error) const;

    wxWindow& m_owner;
    AppContext& m_context;
    Prompts m_prompts;
    FileOperationRunner m_runner;
};

}  // namespace tarn
