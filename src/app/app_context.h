#pragma once

#include <memory>
#include <utility>

#include "app/app_folders.h"
#include "app/settings.h"
#include "platform/desktop_launcher.h"
#include "platform/mount_table.h"
#include "platform/shell_namespace.h"
#include "platform/special_folders.h"

namespace tarn {

// What the application object hands to every window it builds: its folders, the settings
// store, the show-hidden-files flag, the platform's special folders, the mount table, the shell
// namespace and the desktop's programs. Windows take it by reference instead of reaching for a
// global; tests build their own.
struct AppContext {
    AppContext(AppFolders f, std::unique_ptr<platform::SpecialFolders> special,
               std::unique_ptr<platform::MountTable> mountTable =
                   std::make_unique<platform::LinuxMountTable>())
        : folders(std::move(f)),
          settings(folders.settingsFile),
          specialFolders(std::move(special)),
          mounts(std::move(mountTable)),
          shell(platform::ShellNamespace::forSystem(*specialFolders, *mounts)) {}

    AppFolders folders;
    SettingsStore settings;
    std::unique_ptr<platform::SpecialFolders> specialFolders;
    // Whoever shows the volumes watches it and hands changes to the shell.
    std::unique_ptr<platform::MountTable> mounts;
    platform::ShellNamespace shell;
    // The desktop's programs: the default application, an editor, the file manager.
    std::unique_ptr<platform::DesktopLauncher> launcher =
        std::make_unique<platform::LinuxDesktopLauncher>();
    bool showHiddenFiles = false;
};

}  // namespace tarn
