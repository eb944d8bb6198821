#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/shell_namespace.h"

namespace tarn::platform {

// The system's mounted volumes and the news that they changed.
class MountTable {
public:
    // Ends its notifications when destroyed.
    class Watch {
    public:
        virtual ~Watch() = default;
    };

    virtual ~MountTable() = default;

    // The removable and external volumes mounted now, labelled.
    virtual std::vector<MountedVolume> volumes() const = 0;
    // Calls onChange after the mounts changed (any mount: callers compare the volumes), on
    // the thread that made the watch, until the watch is destroyed. Made on the UI thread, the
    // call comes from its event loop.
    [[nodiscard]] virtual std::unique_ptr<Watch> watch(std::function<void()> onChange) = 0;
};

// Linux: the volumes of a mount table file in the /proc/self/mounts format, named through a
// folder of label links (the udev /dev/disk/by-label layout); changes come from GIO's unix
// mount monitor, which follows the system's mounts whatever file was given.
class LinuxMountTable final : public MountTable {
public:
    explicit LinuxMountTable(std::string tableFile = "/proc/self/mounts",
                             std::string byLabelFolder = "/dev/disk/by-label");

    std::vector<MountedVolume> volumes() const override;
    std::unique_ptr<Watch> watch(std::function<void()> onChange) override;

private:
    std::string m_tableFile;
    std::string m_byLabelFolder;
};

}  // namespace tarn::platform
