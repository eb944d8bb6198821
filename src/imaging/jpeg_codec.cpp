#include "imaging/jpeg_codec.h"

#include <sys/stat.h>
#include <turbojpeg.h>

#include <cstdio>
#include <cstring>

#include "common/atomic_file.h"
#include "imaging/decode_limits.h"

namespace tarn {

namespace {

#if FI_RGBA_RED == 2
constexpr TJPF kPixel24 = TJPF_BGR;
constexpr TJPF kPixel32 = TJPF_BGRA;
#else
constexpr TJPF kPixel24 = TJPF_RGB;
constexpr TJPF kPixel32 = TJPF_RGBA;
#endif

// Larger files are not pictures we read whole.
constexpr std::uint64_t kMaxFileBytes = 1ull << 31;

struct TjDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjDeleter>;

// One decoder per thread: cheap to reuse, never shared.
tjhandle decoder() {
    thread_local TjHandle handle(tjInitDecompress());
    return handle.get();
}

bool endedEarly(tjhandle handle) {
    // "Premature end of JPEG file" (cut off) and "... premature end of data segment" (the
    // frame claims more than the data holds).
    return std::strstr(tjGetErrorStr2(handle), "remature end") != nullptr;
}

std::uint16_t be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void attachTag(FIBITMAP* dib, FREE_IMAGE_MDMODEL model, const char* key, FREE_IMAGE_MDTYPE type,
               const std::uint8_t* value, std::size_t length) {
    FITAG* tag = FreeImage_CreateTag();
    if (tag == nullptr) {
        return;
    }
    const auto count = static_cast<DWORD>(length);
    FreeImage_SetTagKey(tag, key);
    FreeImage_SetTagType(tag, type);
    FreeImage_SetTagCount(tag, count);
    FreeImage_SetTagLength(tag, count);
    FreeImage_SetTagValue(tag, value);
    FreeImage_SetMetadata(model, dib, key, tag);
    FreeImage_DeleteTag(tag);
}

// Carries over what the library's own JPEG loader would keep, so that an edited photo saved as
// JPEG keeps it: the JFIF density, the raw EXIF block, the XMP packet, the ICC profile and the
// comment.
void readMarkers(FIBITMAP* dib, const std::uint8_t* data, std::size_t size) {
    static const char kXmp[] = "http://ns.adobe.com/xap/1.0/";
    static const char kIcc[] = "ICC_PROFILE";
    // ICC profiles come in numbered chunks; they are joined once all are seen.
    std::vector<std::vector<std::uint8_t>> iccChunks;
    const auto finish = [&] {
        std::vector<std::uint8_t> profile;
        for (const std::vector<std::uint8_t>& chunk : iccChunks) {
            if (chunk.empty()) {
                return;
            }
            profile.insert(profile.end(), chunk.begin(), chunk.end());
        }
        if (!profile.empty()) {
            FreeImage_CreateICCProfile(dib, profile.data(), static_cast<long>(profile.size()));
        }
    };
    std::size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF) {
            break;
        }
        const std::uint8_t marker = data[pos + 1];
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) {
            break;
        }
        const std::size_t length = be16(data + pos + 2);
        if (length < 2 || pos + 2 + length > size) {
            break;
        }
        const std::uint8_t* body = data + pos + 4;
        const std::size_t bodySize = length - 2;
        if (marker == 0xE0 && bodySize >= 12 && std::memcmp(body, "JFIF\0", 5) == 0) {
            const int units = body[7];
            const double x = be16(body + 8);
            const double y = be16(body + 10);
            const double perMeter = units == 1 ? 1.0 / 0.0254 : units == 2 ? 100.0 : 0.0;
            if (perMeter > 0 && x > 0 && y > 0) {
                FreeImage_SetDotsPerMeterX(dib, static_cast<unsigned>(x * perMeter + 0.5));
                FreeImage_SetDotsPerMeterY(dib, static_cast<unsigned>(y * perMeter + 0.5));
            }
        } else if (marker == 0xE1 && bodySize > 6 && std::memcmp(body, "Exif\0\0", 6) == 0) {
            attachTag(dib, FIMD_EXIF_RAW, "ExifRaw", FIDT_BYTE, body, bodySize);
        } else if (marker == 0xE1 && bodySize > sizeof(kXmp) &&
                   std::memcmp(body, kXmp, sizeof(kXmp)) == 0) {
            std::string packet(reinterpret_cast<const char*>(body) + sizeof(kXmp),
                               bodySize - sizeof(kXmp));
            attachTag(dib, FIMD_XMP, "XMLPacket", FIDT_ASCII,
                      reinterpret_cast<const std::uint8_t*>(packet.c_str()), packet.size() + 1);
        } else if (marker == 0xE2 && bodySize > sizeof(kIcc) + 2 &&
                   std::memcmp(body, kIcc, sizeof(kIcc)) == 0) {
            const unsigned sequence = body[sizeof(kIcc)];
            const unsigned count = body[sizeof(kIcc) + 1];
            if (iccChunks.empty() && count > 0) {
                iccChunks.resize(count);
            }
            if (sequence >= 1 && sequence <= iccChunks.size() && count == iccChunks.size()) {
                iccChunks[sequence - 1].assign(body + sizeof(kIcc) + 2, body + bodySize);
            }
        } else if (marker == 0xFE && bodySize > 0) {
            const std::string comment(reinterpret_cast<const char*>(body), bodySize);
            attachTag(dib, FIMD_COMMENTS, "Comment", FIDT_ASCII,
                      reinterpret_cast<const std::uint8_t*>(comment.c_str()), comment.size() + 1);
        }
        pos += 2 + length;
    }
    finish();
}

bool readHeader(tjhandle handle, const std::uint8_t* data, std::size_t size, int& width,
                int& height, int& subsamp, int& colorspace) {
    if (handle == nullptr || size < 4 || data[0] != 0xFF || data[1] != 0xD8) {
        return false;
    }
    return tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &width, &height,
                               &subsamp, &colorspace) == 0 &&
           width > 0 && height > 0;
}

}  // namespace

bool readFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    // Only regular files: a folder opens too, and reports a nonsense length.
    struct stat st {};
    bool ok = ::fstat(::fileno(file), &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
              static_cast<std::uint64_t>(st.st_size) <= kMaxFileBytes;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    if (!ok) {
        bytes.clear();
    }
    return ok;
}

bool readJpegSize(const std::uint8_t* data, std::size_t size, int& width, int& height) {
    int subsamp = 0;
    int colorspace = 0;
    return readHeader(decoder(), data, size, width, height, subsamp, colorspace);
}

bool jpegNeedsOtherDecoder(const std::uint8_t* data, std::size_t size) {
    int width = 0;
    int height = 0;
    int subsamp = 0;
    int colorspace = 0;
    if (!readHeader(decoder(), data, size, width, height, subsamp, colorspace)) {
        return true;
    }
    return colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
}

FreeImageBitmap decodeJpeg(const std::uint8_t* data, std::size_t size, bool want32, int minWidth,
                           int minHeight) {
    tjhandle handle = decoder();
    int width = 0;
    int height = 0;
    int subsamp = 0;
    int colorspace = 0;
    if (!readHeader(handle, data, size, width, height, subsamp, colorspace) ||
        colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) {
        return nullptr;
    }
    const bool scaled = minWidth > 0 || minHeight > 0;
    int outWidth = width;
    int outHeight = height;
    if (scaled) {
        int count = 0;
        const tjscalingfactor* factors = tjGetScalingFactors(&count);
        for (int i = 0; factors != nullptr && i < count; ++i) {
            const int w = TJSCALED(width, factors[i]);
            const int h = TJSCALED(height, factors[i]);
            if (factors[i].num <= factors[i].denom && w >= minWidth && h >= minHeight &&
                w < outWidth) {
                outWidth = w;
                outHeight = h;
            }
        }
    }
    const bool grey = colorspace == TJCS_GRAY && !want32;
    const unsigned bpp = grey ? 8 : want32 ? 32 : 24;
    // A few hostile header bytes could otherwise ask for many gigabytes.
    if (!fitsDecodeLimit(static_cast<unsigned>(outWidth), static_cast<unsigned>(outHeight), bpp)) {
        return nullptr;
    }
    FreeImageBitmap dib(FreeImage_Allocate(outWidth, outHeight, bpp));
    if (!dib) {
        return nullptr;
    }
    if (grey) {
        RGBQUAD* palette = FreeImage_GetPalette(dib.get());
        for (int i = 0; i < 256; ++i) {
            palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
        }
    }
    const TJPF format = grey ? TJPF_GRAY : want32 ? kPixel32 : kPixel24;
    int flags = TJFLAG_BOTTOMUP;
    if (scaled) {
        flags |= TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE;
    }
    if (tjDecompress2(handle, data, static_cast<unsigned long>(size), FreeImage_GetBits(dib.get()),
                      outWidth, static_cast<int>(FreeImage_GetPitch(dib.get())), outHeight, format,
                      flags) != 0) {
        // Warnings about damaged data still give a picture; a file cut short does not.
        if (tjGetErrorCode(handle) != TJERR_WARNING || endedEarly(handle)) {
            return nullptr;
        }
    }
    if (!scaled) {
        readMarkers(dib.get(), data, size);
    }
    return dib;
}

bool transformJpegFile(const std::string& source, const std::string& target,
                       JpegTransform operation) {
    std::vector<std::uint8_t> input;
    if (!readFileBytes(source, input) || input.size() < 4 || input[0] != 0xFF || input[1] != 0xD8) {
        return false;
    }
    TjHandle handle(tjInitTransform());
    if (!handle) {
        return false;
    }
    tjtransform transform{};
    switch (operation) {
        case JpegTransform::FlipHorizontal:
            transform.op = TJXOP_HFLIP;
            break;
        case JpegTransform::FlipVertical:
            transform.op = TJXOP_VFLIP;
            break;
        case JpegTransform::Rotate90:
            transform.op = TJXOP_ROT90;
            break;
        case JpegTransform::Rotate180:
            transform.op = TJXOP_ROT180;
            break;
        case JpegTransform::Rotate270:
            transform.op = TJXOP_ROT270;
            break;
        default:
            return false;
    }
    // Trim the edge blocks that cannot move losslessly; copy every marker.
    transform.options = TJXOPT_TRIM;
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    const int rc = tjTransform(handle.get(), input.data(), static_cast<unsigned long>(input.size()),
                               1, &output, &outputSize, &transform, 0);
    std::unique_ptr<unsigned char, void (*)(unsigned char*)> owned(output, tjFree);
    // A damaged source must not be written back damaged further.
    if (rc != 0 || output == nullptr || outputSize == 0) {
        return false;
    }
    return writeBytesAtomically(target, output, outputSize);
}

bool transformJpegFile(const std::string& path, JpegTransform operation) {
    return transformJpegFile(path, path, operation);
}

}  // namespace tarn
