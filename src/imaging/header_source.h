#pragma once

// What the header readers share: byte sources over a file or a buffer, byte orders, sizes.
#include <FreeImage.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "imaging/image_header.h"

namespace tarn::header_detail {

// Bytes at any offset of a file or a buffer; false unless all of them are there.
class Source {
public:
    virtual ~Source() = default;
    virtual bool read(std::uint64_t offset, void* out, std::size_t count) = 0;

    bool byteAt(std::uint64_t offset, std::uint8_t& value) { return read(offset, &value, 1); }
};

class MemorySource final : public Source {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool read(std::uint64_t offset, void* out, std::size_t count) override {
        if (m_data == nullptr || offset > m_size || count > m_size - offset) {
            return false;
        }
        if (count != 0) {  // an empty read may come with no buffer at all
            std::memcpy(out, m_data + offset, count);
        }
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

// Reads through a small window, so that walking a GIF's many short blocks stays cheap.
class FileSource final : public Source {
public:
    explicit FileSource(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY)) {}
    ~FileSource() override {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool ok() const { return m_fd >= 0; }

    bool read(std::uint64_t offset, void* out, std::size_t count) override {
        auto* target = static_cast<std::uint8_t*>(out);
        while (count > 0) {
            if (offset < m_start || offset >= m_start + m_filled) {
                if (!fill(offset)) {
                    return false;
                }
            }
            const std::size_t skip = static_cast<std::size_t>(offset - m_start);
            const std::size_t part = std::min(count, m_filled - skip);
            std::memcpy(target, m_window.data() + skip, part);
            target += part;
            offset += part;
            count -= part;
        }
        return true;
    }

private:
    bool fill(std::uint64_t offset) {
        const ssize_t got =
            ::pread(m_fd, m_window.data(), m_window.size(), static_cast<off_t>(offset));
        m_start = offset;
        m_filled = got > 0 ? static_cast<std::size_t>(got) : 0;
        return m_filled > 0;
    }

    int m_fd;
    std::array<std::uint8_t, 4096> m_window{};
    std::uint64_t m_start = 0;
    std::size_t m_filled = 0;
};

inline unsigned be16(const std::uint8_t* p) {
    return static_cast<unsigned>(p[0]) << 8 | p[1];
}
inline unsigned le16(const std::uint8_t* p) {
    return static_cast<unsigned>(p[1]) << 8 | p[0];
}
inline std::uint32_t be32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(be16(p)) << 16 | be16(p + 2);
}
inline std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(le16(p + 2)) << 16 | le16(p);
}

inline std::optional<ImageHeader> sized(std::uint64_t width, std::uint64_t height, unsigned bpp) {
    if (width == 0 || height == 0 || width > UINT32_MAX || height > UINT32_MAX) {
        return std::nullopt;
    }
    return ImageHeader{static_cast<unsigned>(width), static_cast<unsigned>(height), bpp};
}

// The readers of the formats the library cannot read a header of without the pixels: DDS, SGI,
// JPEG 2000 (code stream and JP2 file), MNG, IFF, PICT, XBM and WBMP. Empty for other formats
// and for a header that cannot be read.
std::optional<ImageHeader> readOtherHeader(Source& source, FREE_IMAGE_FORMAT fif);

}  // namespace tarn::header_detail
