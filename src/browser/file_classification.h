#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "imaging/thumbnail_maker.h"  // hasFastThumbnailExtension

namespace tarn {

// The extensions the imaging library can read, matched without regard to case. Built once
// from the library (or given by a test) and passed to whoever classifies files.
class ImageExtensions {
public:
    ImageExtensions() = default;
    // Entries are lowered; empty entries are dropped.
    explicit ImageExtensions(const std::vector<std::string>& extensions);

    // Every extension of every format FreeImage can read. Empty (no list) when the library
    // reports no readable format.
    static ImageExtensions fromFreeImage();

    // False when there is no list at all.
    bool available() const { return !m_sorted.empty(); }
    bool contains(std::string_view extension) const;
    const std::vector<std::string>& all() const { return m_sorted; }

private:
    std::vector<std::string> m_sorted;
};

enum FileKind : int { kKindFolder = 0, kKindImage = 1, kKindOther = 2, kKindShortcut = 3 };

// 0 an existing directory (unless skipDirectoryTest), 1 an image by extension, 2 any other
// file, -1 when there is no readable-extension list.
int classifyFile(std::string_view path, bool skipDirectoryTest, const ImageExtensions& images);

// A zip archive file (not a directory of that name).
bool isZipArchive(std::string_view path);

// True when path names an existing directory (symbolic links followed).
bool isExistingDirectory(std::string_view path);

}  // namespace tarn
