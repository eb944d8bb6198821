#include "platform/mount_table.h"

#include <gio/gunixmounts.h>

#include <fstream>
#include <iterator>
#include <utility>

namespace tarn::platform {

namespace {

// One handler on the process's mount monitor. The monitor sends its signal in the main
// context of the thread that first asked for it: the UI thread's is the one its loop runs.
class GioMountWatch final : public MountTable::Watch {
public:
    explicit GioMountWatch(std::function<void()> onChange)
        : m_onChange(std::move(onChange)), m_monitor(g_unix_mount_monitor_get()) {
        m_handler = g_signal_connect(m_monitor, "mounts-changed", G_CALLBACK(&changed), this);
    }
    ~GioMountWatch() override {
        g_signal_handler_disconnect(m_monitor, m_handler);
        g_object_unref(m_monitor);
    }
    GioMountWatch(const GioMountWatch&) = delete;
    GioMountWatch& operator=(const GioMountWatch&) = delete;

private:
    static void changed(GUnixMountMonitor*, gpointer self) {
        static_cast<GioMountWatch*>(self)->m_onChange();
    }

    std::function<void()> m_onChange;
    GUnixMountMonitor* m_monitor;
    gulong m_handler = 0;
};

}  // namespace

LinuxMountTable::LinuxMountTable(std::string tableFile, std::string byLabelFolder)
    : m_tableFile(std::move(tableFile)), m_byLabelFolder(std::move(byLabelFolder)) {}

std::vector<MountedVolume> LinuxMountTable::volumes() const {
    std::ifstream in(m_tableFile, std::ios::binary);
    const std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<MountedVolume> found = volumesFromMountTable(table);
    labelVolumes(found, m_byLabelFolder);
    return found;
}

std::unique_ptr<MountTable::Watch> LinuxMountTable::watch(std::function<void()> onChange) {
    return std::make_unique<GioMountWatch>(std::move(onChange));
}

}  // namespace tarn::platform
