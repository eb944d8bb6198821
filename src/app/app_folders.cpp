#include "app/app_folders.h"

#include <filesystem>

#include "common/path_rules.h"

namespace tarn {

AppFoldersResult resolveAppFolders(const platform::SpecialFolders& special) {
    AppFoldersResult result;
    const auto program = special.programFile();
    if (!program || program->empty()) {
        result.error = StartupError::ModuleFileName;
        return result;
    }
    AppFolders& f = result.folders;
    f.programFolder = parentFolder(*program);

    const auto config = special.configFolder();
    if (!config || config->empty()) {
        result.error = StartupError::ConfigFolder;
        return result;
    }
    f.dataFolder = joinPath(*config, kDataFolderName);
    std::error_code ec;
    const std::string existing = normalizePath(f.dataFolder);
    if (!std::filesystem::is_directory(existing, ec)) {
        std::filesystem::create_directories(existing, ec);
        if (ec || !std::filesystem::is_directory(existing, ec)) {
            result.error = StartupError::DataFolder;
            return result;
        }
    }
    f.settingsFile = joinPath(f.dataFolder, kSettingsFileName);
    f.favoritesFolder = joinPath(f.dataFolder, kFavoritesFolderName);
    f.tempFolder = joinPath(f.dataFolder, kTempFolderName);
    return result;
}

void removeTempFolder(const AppFolders& folders) {
    if (folders.tempFolder.empty()) {
        return;
    }
    std::error_code ec;
    std::filesystem::remove_all(folders.tempFolder, ec);
}

}  // namespace tarn
