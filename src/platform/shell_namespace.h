#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/item_id_list.h"

namespace tarn::platform {

class MountTable;
class SpecialFolders;

// Attribute bits of a namespace item.
enum ItemAttribute : std::uint32_t {
    kAttrFolder = 1u << 0,
    kAttrFileSystem = 1u << 1,
    kAttrHidden = 1u << 2,
    kAttrLink = 1u << 3,
    kAttrCanRename = 1u << 4,
    kAttrCanDelete = 1u << 5,
    kAttrCanMove = 1u << 6,
    kAttrCanCopy = 1u << 7,
    kAttrHasSubFolders = 1u << 8,
};
// The bits an enumeration reports for every child without further queries.
inline constexpr std::uint32_t kAttrBasic = kAttrFolder | kAttrFileSystem | kAttrHidden | kAttrLink;
inline constexpr std::uint32_t kAttrAll = 0x1FF;

enum EnumFlag : unsigned {
    kEnumFolders = 1u << 0,
    kEnumNonFolders = 1u << 1,
    kEnumHidden = 1u << 2,
};

// A mounted removable or external volume, shown below Computer.
struct MountedVolume {
    std::string mountPoint;
    std::string label;     // empty: the mount point's folder name is shown
    std::string device{};  // the mounted device as the mount table names it

    bool operator==(const MountedVolume&) const = default;
};

// The volumes of a mount table text (the /proc/self/mounts format) mounted below /media,
// /run/media or /mnt, in table order, each mount point once.
std::vector<MountedVolume> volumesFromMountTable(std::string_view table);

// Gives each unlabelled volume the name of the link in byLabelFolder (the udev
// /dev/disk/by-label layout) that leads to its device.
void labelVolumes(std::vector<MountedVolume>& volumes, const std::string& byLabelFolder);

// One child reported by an enumeration. The views live until the callback returns.
struct ChildInfo {
    std::string_view element;      // the child's relative identifier element
    std::string_view name;         // display name
    std::string_view path;         // file-system path; empty for a virtual child
    std::uint32_t attributes = 0;  // the kAttrBasic bits
    std::uint64_t size = 0;        // bytes; 0 for folders and virtual children
    std::int64_t modified = 0;     // last write, nanoseconds since 1970; 0 when unknown
};

// The shell namespace on Linux: Desktop (the empty list) holds Home and Computer; Computer
// holds File System ("/") and the mounted volumes; below those, one element per path
// component. Every file-system location has one canonical identifier: through the deepest
// of Home or a volume that contains it, else through File System.
class ShellNamespace {
public:
    ShellNamespace(std::string home, std::vector<MountedVolume> volumes);

    // The process's home folder and the volumes mounted now.
    static ShellNamespace forSystem(const SpecialFolders& folders, const MountTable& mounts);

    static ItemIdList desktop() { return {}; }
    static ItemIdList home();
    static ItemIdList computer();
    static ItemIdList fileSystem();
    static ItemIdList volume(std::string_view mountPoint);

    // The relative identifier of a named child of a file-system folder; nothing for a name
    // that is empty, ".", "..", holds a '/' or a NUL.
    static std::optional<ItemIdList> childId(std::string_view name);
    // True when an element names a path component (not Home, Computer, File System or a
    // volume).
    static bool isPathComponent(std::string_view element);

    // The canonical identifier of an absolute path; nothing for a relative or empty path.
    std::optional<ItemIdList> idFromPath(std::string_view path) const;
    // The file-system path of an identifier; empty for Desktop, Computer and malformed lists.
    std::string pathOf(const ItemIdList& id) const;
    // The same place through its canonical identifier; virtual places are unchanged.
    ItemIdList canonical(const ItemIdList& id) const;
    // <0, 0, >0; equal locations compare equal whichever way they were reached.
    int compare(const ItemIdList& a, const ItemIdList& b) const;

    // True when the identifier names a folder that can be listed now.
    bool canBind(const ItemIdList& folder) const;
    // Calls back once per child; false when the folder cannot be listed. Entries that vanish
    // while listing are skipped.
    bool enumerate(const ItemIdList& folder, unsigned flags,
                   const std::function<void(const ChildInfo&)>& onChild) const;

    // The requested attribute bits of an item (others are zero); 0 for a malformed list or a
    // path that does not exist.
    std::uint32_t attributes(const ItemIdList& id, std::uint32_t mask = kAttrAll) const;
    // The name shown in a folder: the file name, "Desktop", "Home", "Computer", "File System",
    // or the volume's label or folder name.
    std::string displayName(const ItemIdList& id) const;
    // The address-bar form: the full path; the display name for Desktop and Computer.
    std::string parsingName(const ItemIdList& id) const;
    // The reverse of parsingName.
    std::optional<ItemIdList> parseName(std::string_view text) const;
    // Index into the system icon lists (platform/system_icons.h). Files get the generic file
    // icon; callers that know a file is an image choose the image icon themselves.
    int iconIndex(const ItemIdList& id) const;

    const std::string& homePath() const { return m_home; }
    const std::vector<MountedVolume>& volumes() const { return m_volumes; }
    // Takes the volumes mounted now; false when they are the ones it had. Identifiers made
    // through a volume that went stay as they are, and no longer list through it.
    bool setVolumes(std::vector<MountedVolume> volumes);

    // The folder itself when it can be listed now, else its nearest ancestor that can (at
    // worst the Desktop). A place on a volume that is no longer mounted has gone, even when
    // its mount point's folder is still there.
    ItemIdList nearestListable(const ItemIdList& folder) const;

private:
    enum class Place { Invalid, Desktop, Computer, Path };
    struct Resolved {
        Place place = Place::Invalid;
        std::string path;
    };
    Resolved resolve(const ItemIdList& id) const;
    const MountedVolume* volumeAt(std::string_view mountPoint) const;

    std::string m_home;
    std::vector<MountedVolume> m_volumes;
};

}  // namespace tarn::platform
