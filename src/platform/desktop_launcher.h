#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarn::platform {

// Hands files to the desktop's other programs: the associated program, an editor, the file
// manager. Each call returns false with the reason in error (when given) if nothing was started.
class DesktopLauncher {
public:
    virtual ~DesktopLauncher() = default;
    // Opens the file with the application the desktop associates with its type.
    virtual bool openWithDefault(const std::string& path, std::string* error) = 0;
    // Opens the file with an image editor the desktop recommends for its type, else as above.
    virtual bool openWithEditor(const std::string& path, std::string* error) = 0;
    // Shows the file manager with the item selected in its folder; when no file manager answers,
    // opens the parent folder with its associated application.
    virtual bool showInFileManager(const std::string& path, std::string* error) = 0;
};

// An application the desktop offers for a content type.
struct OfferedApplication {
    std::string id;          // the desktop entry's id, "org.example.Paint.desktop"
    std::string categories;  // its Categories value, "Graphics;RasterGraphics;"
    bool isDefault = false;  // the type's default application
};

// The application that edits: the first offered one of category RasterGraphics that is not the
// default, else the default; nothing when neither is offered.
std::optional<std::string> editorApplication(const std::vector<OfferedApplication>& offered);

// The folder the file manager falls back to for a path: its parent, "/" for the root.
std::string folderShowing(const std::string& path);

// The launcher over GIO and the session bus.
class LinuxDesktopLauncher final : public DesktopLauncher {
public:
    bool openWithDefault(const std::string& path, std::string* error) override;
    bool openWithEditor(const std::string& path, std::string* error) override;
    bool showInFileManager(const std::string& path, std::string* error) override;
};

}  // namespace tarn::platform
