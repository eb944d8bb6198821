#include "platform/shell_namespace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "common/path_rules.h"
#include "platform/dir_handle.h"
#include "platform/mount_table.h"
#include "platform/special_folders.h"
#include "platform/system_icons.h"

namespace tarn::platform {

namespace {

// Element tags: the first byte of every element says what it names.
constexpr char kTagHome = 'H';
constexpr char kTagComputer = 'C';
constexpr char kTagFileSystem = 'F';
constexpr char kTagVolume = 'V';
constexpr char kTagName = 'N';

bool validName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::int64_t mtimeNs(const struct stat& st) {
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

}  // namespace

ShellNamespace::ShellNamespace(std::string home, std::vector<MountedVolume> volumes)
    : m_home(home.empty() ? std::string() : normalizePath(home, PathStyle::Posix)),
      m_volumes(std::move(volumes)) {}

ShellNamespace ShellNamespace::forSystem(const SpecialFolders& folders, const MountTable& mounts) {
    return ShellNamespace(folders.homeFolder().value_or(std::string()), mounts.volumes());
}

bool ShellNamespace::setVolumes(std::vector<MountedVolume> volumes) {
    if (volumes == m_volumes) {
        return false;
    }
    m_volumes = std::move(volumes);
    return true;
}

ItemIdList ShellNamespace::nearestListable(const ItemIdList& folder) const {
    ItemIdList at = folder;
    for (; !at.empty(); at = at.parent()) {
        const std::vector<std::string_view> parts = at.elements();
        const bool onVolume = parts.size() > 1 && parts[0] == std::string_view(&kTagComputer, 1) &&
                              parts[1].size() > 1 && parts[1][0] == kTagVolume;
        if (onVolume && volumeAt(parts[1].substr(1)) == nullptr) {
            continue;
        }
        if (canBind(at)) {
            break;
        }
    }
    return at;
}

ItemIdList ShellNamespace::home() {
    return ItemIdList::fromElement(std::string_view(&kTagHome, 1));
}

ItemIdList ShellNamespace::computer() {
    return ItemIdList::fromElement(std::string_view(&kTagComputer, 1));
}

ItemIdList ShellNamespace::fileSystem() {
    ItemIdList id = computer();
    id.append(std::string_view(&kTagFileSystem, 1));
    return id;
}

ItemIdList ShellNamespace::volume(std::string_view mountPoint) {
    ItemIdList id = computer();
    std::string element(1, kTagVolume);
    element += mountPoint;
    id.append(element);
    return id;
}

std::optional<ItemIdList> ShellNamespace::childId(std::string_view name) {
    if (!validName(name)) {
        return std::nullopt;
    }
    std::string element(1, kTagName);
    element += name;
    ItemIdList id;
    if (!id.append(element)) {
        return std::nullopt;
    }
    return id;
}

bool ShellNamespace::isPathComponent(std::string_view element) {
    return !element.empty() && element.front() == kTagName;
}

const MountedVolume* ShellNamespace::volumeAt(std::string_view mountPoint) const {
    for (const MountedVolume& v : m_volumes) {
        if (v.mountPoint == mountPoint) {
            return &v;
        }
    }
    return nullptr;
}

ShellNamespace::Resolved ShellNamespace::resolve(const ItemIdList& id) const {
    const std::vector<std::string_view> parts = id.elements();
    if (parts.empty()) {
        return {Place::Desktop, {}};
    }
    std::size_t next = 1;
    std::string path;
    if (parts[0] == std::string_view(&kTagHome, 1)) {
        if (m_home.empty()) {
            return {};
        }
        path = m_home;
    } else if (parts[0] == std::string_view(&kTagComputer, 1)) {
        if (parts.size() == 1) {
            return {Place::Computer, {}};
        }
        const std::string_view second = parts[1];
        if (second == std::string_view(&kTagFileSystem, 1)) {
            path = "/";
        } else if (second.size() > 1 && second[0] == kTagVolume && second[1] == '/') {
            path.assign(second.substr(1));
        } else {
            return {};
        }
        next = 2;
    } else {
        return {};
    }
    for (; next < parts.size(); ++next) {
        const std::string_view part = parts[next];
        if (part.empty() || part[0] != kTagName || !validName(part.substr(1))) {
            return {};
        }
        path = joinPath(path, part.substr(1), PathStyle::Posix);
    }
    return {Place::Path, std::move(path)};
}

std::optional<ItemIdList> ShellNamespace::idFromPath(std::string_view rawPath) const {
    if (rawPath.empty() || rawPath.front() != '/') {
        return std::nullopt;
    }
    // Lexical clean-up: repeated separators and "." vanish, ".." drops a component.
    std::vector<std::string_view> comps;
    for (std::size_t at = 0; at < rawPath.size();) {
        const std::size_t slash = rawPath.find('/', at);
        const std::size_t end = slash == std::string_view::npos ? rawPath.size() : slash;
        const std::string_view c = rawPath.substr(at, end - at);
        at = end + 1;
        if (c.empty() || c == ".") {
            continue;
        }
        if (c == "..") {
            if (!comps.empty()) {
                comps.pop_back();
            }
            continue;
        }
        comps.push_back(c);
    }
    std::string path = "/";
    for (const auto c : comps) {
        path = joinPath(path, c, PathStyle::Posix);
    }

    // The deepest containing base wins.
    ItemIdList id = fileSystem();
    std::size_t baseLen = 1;
    if (!m_home.empty() && isPathWithin(path, m_home) && m_home.size() > baseLen) {
        id = home();
        baseLen = m_home.size();
    }
    for (const MountedVolume& v : m_volumes) {
        if (isPathWithin(path, v.mountPoint) && v.mountPoint.size() > baseLen) {
            id = volume(v.mountPoint);
            baseLen = v.mountPoint.size();
        }
    }
    std::string_view rest = std::string_view(path).substr(baseLen == 1 ? 1 : baseLen);
    while (!rest.empty()) {
        if (rest.front() == '/') {
            rest.remove_prefix(1);
            continue;
        }
        const std::size_t slash = rest.find('/');
        const std::string_view c = rest.substr(0, slash);
        std::string element(1, kTagName);
        element += c;
        if (!id.append(element)) {
            return std::nullopt;
        }
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash);
    }
    return id;
}

std::string ShellNamespace::pathOf(const ItemIdList& id) const {
    Resolved r = resolve(id);
    return r.place == Place::Path ? std::move(r.path) : std::string();
}

ItemIdList ShellNamespace::canonical(const ItemIdList& id) const {
    const Resolved r = resolve(id);
    if (r.place != Place::Path) {
        return id;
    }
    return idFromPath(r.path).value_or(id);
}

int ShellNamespace::compare(const ItemIdList& a, const ItemIdList& b) const {
    const ItemIdList ca = canonical(a);
    const ItemIdList cb = canonical(b);
    const int c = ca.bytes().compare(cb.bytes());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool ShellNamespace::canBind(const ItemIdList& folder) const {
    const Resolved r = resolve(folder);
    if (r.place == Place::Desktop || r.place == Place::Computer) {
        return true;
    }
    if (r.place != Place::Path) {
        return false;
    }
    const DirHandle dir(opendir(r.path.c_str()));
    return dir != nullptr;
}

bool ShellNamespace::enumerate(const ItemIdList& folder, unsigned flags,
                               const std::function<void(const ChildInfo&)>& onChild) const {
    const Resolved r = resolve(folder);
    const auto virtualChild = [&](const ItemIdList& rel, const std::string& path) {
        if (!(flags & kEnumFolders)) {
            return;
        }
        const ItemIdList abs = folder.joined(rel);
        const std::string name = displayName(abs);
        ChildInfo info;
        info.element = rel.lastElement();
        info.name = name;
        info.path = path;
        info.attributes =
            kAttrFolder | (path.empty() ? 0u : static_cast<std::uint32_t>(kAttrFileSystem));
        struct stat st {};
        if (!path.empty() && ::stat(path.c_str(), &st) == 0) {
            info.modified = mtimeNs(st);
        }
        onChild(info);
    };
    if (r.place == Place::Desktop) {
        if (!m_home.empty()) {
            virtualChild(home(), m_home);
        }
        virtualChild(computer(), {});
        return true;
    }
    if (r.place == Place::Computer) {
        virtualChild(ItemIdList::fromElement(std::string_view(&kTagFileSystem, 1)), "/");
        for (const MountedVolume& v : m_volumes) {
            std::string element(1, kTagVolume);
            element += v.mountPoint;
            virtualChild(ItemIdList::fromElement(element), v.mountPoint);
        }
        return true;
    }
    if (r.place != Place::Path) {
        return false;
    }

    const int dfd = ::open(r.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) {
        return false;
    }
    const DirHandle dir(fdopendir(dfd));
    if (!dir) {
        ::close(dfd);
        return false;
    }
    std::string path = r.path;
    if (path.back() != '/') {
        path.push_back('/');
    }
    const std::size_t folderLen = path.size();
    std::string element(1, kTagName);
    ChildInfo info;
    while (const dirent* e = readdir(dir.get())) {
        const std::string_view name(e->d_name);
        if (name == "." || name == "..") {
            continue;
        }
        const bool hidden = name.front() == '.';
        if (hidden && !(flags & kEnumHidden)) {
            continue;
        }
        struct stat st;
        if (fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // gone since it was listed
        }
        const bool isDir = S_ISDIR(st.st_mode);
        if (!(flags & (isDir ? kEnumFolders : kEnumNonFolders))) {
            continue;
        }
        path.resize(folderLen);
        path.append(name);
        element.resize(1);
        element.append(name);
        std::uint32_t attrs = kAttrFileSystem;
        if (isDir) {
            attrs |= kAttrFolder;
        }
        if (hidden) {
            attrs |= kAttrHidden;
        }
        if (S_ISLNK(st.st_mode) ||
            (S_ISREG(st.st_mode) && extensionEquals(fileExtension(name), "lnk"))) {
            attrs |= kAttrLink;
        }
        info.element = element;
        info.name = name;
        info.path = path;
        info.attributes = attrs;
        info.size = isDir ? 0 : static_cast<std::uint64_t>(st.st_size);
        info.modified = mtimeNs(st);
        onChild(info);
    }
    return true;
}

std::uint32_t ShellNamespace::attributes(const ItemIdList& id, std::uint32_t mask) const {
    const Resolved r = resolve(id);
    std::uint32_t attrs = 0;
    switch (r.place) {
        case Place::Invalid:
            return 0;
        case Place::Desktop:
        case Place::Computer:
            return (kAttrFolder | kAttrHasSubFolders) & mask;
        case Place::Path:
            break;
    }
    struct stat st;
    if (::lstat(r.path.c_str(), &st) != 0) {
        return 0;
    }
    const std::string name = fileName(r.path, PathStyle::Posix);
    attrs |= kAttrFileSystem;
    const bool isDir = S_ISDIR(st.st_mode);
    if (isDir) {
        attrs |= kAttrFolder;
    }
    // A namespace root (Home, File System, a volume) is not a hidden child of anything.
    const bool isRoot = id.lastElement().empty() || id.lastElement()[0] != kTagName;
    if (!isRoot && !name.empty() && name.front() == '.') {
        attrs |= kAttrHidden;
    }
    if (S_ISLNK(st.st_mode) ||
        (S_ISREG(st.st_mode) && extensionEquals(fileExtension(name), "lnk"))) {
        attrs |= kAttrLink;
    }
    if (mask & (kAttrCanRename | kAttrCanDelete | kAttrCanMove)) {
        const std::string parent = parentFolder(r.path, PathStyle::Posix);
        bool movable = !isRoot && r.path != "/" && volumeAt(r.path) == nullptr &&
                       ::access(parent.c_str(), W_OK) == 0;
        if (movable && isDir) {
            struct stat pst;
            // A mount point sits on another device than its parent.
            movable = ::stat(parent.c_str(), &pst) == 0 && pst.st_dev == st.st_dev;
        }
        if (movable) {
            attrs |= kAttrCanRename | kAttrCanDelete | kAttrCanMove;
        }
    }
    if ((mask & kAttrCanCopy) && ::access(r.path.c_str(), R_OK) == 0) {
        attrs |= kAttrCanCopy;
    }
    if ((mask & kAttrHasSubFolders) && isDir) {
        const DirHandle dir(opendir(r.path.c_str()));
        if (dir) {
            const int dfd = dirfd(dir.get());
            while (const dirent* e = readdir(dir.get())) {
                const std::string_view n(e->d_name);
                if (n == "." || n == "..") {
                    continue;
                }
                struct stat cst;
                if (e->d_type == DT_DIR ||
                    (e->d_type == DT_UNKNOWN &&
                     fstatat(dfd, e->d_name, &cst, AT_SYMLINK_NOFOLLOW) == 0 &&
                     S_ISDIR(cst.st_mode))) {
                    attrs |= kAttrHasSubFolders;
                    break;
                }
            }
        }
    }
    return attrs & mask;
}

std::string ShellNamespace::displayName(const ItemIdList& id) const {
    const std::vector<std::string_view> parts = id.elements();
    if (parts.empty()) {
        return "Desktop";
    }
    const std::string_view last = parts.back();
    if (last.empty()) {
        return {};
    }
    switch (last[0]) {
        case kTagHome:
            return "Home";
        case kTagComputer:
            return "Computer";
        case kTagFileSystem:
            return "File System";
        case kTagVolume: {
            const std::string_view mount = last.substr(1);
            if (const MountedVolume* v = volumeAt(mount); v && !v->label.empty()) {
                return v->label;
            }
            return fileName(mount, PathStyle::Posix);
        }
        case kTagName:
            return std::string(last.substr(1));
        default:
            return {};
    }
}

std::string ShellNamespace::parsingName(const ItemIdList& id) const {
    const Resolved r = resolve(id);
    switch (r.place) {
        case Place::Desktop:
        case Place::Computer:
            return displayName(id);
        case Place::Path:
            return r.path;
        case Place::Invalid:
            break;
    }
    return {};
}

std::optional<ItemIdList> ShellNamespace::parseName(std::string_view text) const {
    if (text == "Desktop") {
        return desktop();
    }
    if (text == "Computer") {
        return computer();
    }
    return idFromPath(text);
}

int ShellNamespace::iconIndex(const ItemIdList& id) const {
    const std::vector<std::string_view> parts = id.elements();
    if (parts.empty()) {
        return systemIconIndex(SystemIcon::Desktop);
    }
    const std::string_view last = parts.back();
    if (!last.empty()) {
        switch (last[0]) {
            case kTagHome:
                return systemIconIndex(SystemIcon::Home);
            case kTagComputer:
                return systemIconIndex(SystemIcon::Computer);
            case kTagFileSystem:
                return systemIconIndex(SystemIcon::Drive);
            case kTagVolume:
                return systemIconIndex(SystemIcon::RemovableDrive);
            default:
                break;
        }
    }
    const std::string path = pathOf(id);
    struct stat st;
    if (!path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return systemIconIndex(SystemIcon::Folder);
    }
    return systemIconIndex(SystemIcon::File);
}

}  // namespace tarn::platform
