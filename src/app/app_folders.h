#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/special_folders.h"

namespace tarn {

inline constexpr std::string_view kDataFolderName = "Tarn Photo Viewer";
inline constexpr std::string_view kSettingsFileName = "Config.ini";
inline constexpr std::string_view kFavoritesFolderName = "Favorites";
inline constexpr std::string_view kTempFolderName = "Temp";
inline constexpr std::string_view kModuleFileNameError = "Error when getting module file name.";

// The folders in which the program finds and keeps its files.
struct AppFolders {
    std::string programFolder;    // holds the executable and its pictures
    std::string dataFolder;       // every file the program writes lives below it
    std::string settingsFile;     // Config.ini
    std::string favoritesFolder;  // created by the favorites tree when first needed
    std::string tempFolder;       // created on first write, removed at exit
};

enum class StartupError {
    None,
    ModuleFileName,  // shown as kModuleFileNameError
    ConfigFolder,    // no configuration folder: silent
    DataFolder,      // the data folder cannot be created: silent
};

struct AppFoldersResult {
    AppFolders folders;
    StartupError error = StartupError::None;
};

// Works out every folder and creates the data folder with its missing parents. The
// favorites and temporary folders are not created here.
AppFoldersResult resolveAppFolders(const platform::SpecialFolders& special);

// Deletes the temporary folder with everything in it; failures are ignored.
void removeTempFolder(const AppFolders& folders);

}  // namespace tarn
