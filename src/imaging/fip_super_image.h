#pragma once

#include <FreeImagePlus.h>
// FreeImage guards its own Windows-style type names with windows.h's guard macro, which wx then
// takes for windows.h; off Windows nothing else needs the macro.
#ifndef _WIN32
#undef _WINDOWS_
#endif

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// The program's image object: FreeImagePlus's image with the operations the viewer, the browser
// and the dialogs need. Every operation reports success as a nonzero (true) result and leaves the
// image unchanged when it fails. Not shared between threads; each thread makes its own.
class fipSuperImage : public fipImage {
public:
    fipSuperImage() : fipImage(FIT_BITMAP, 0, 0, 0) {}
    fipSuperImage(const fipSuperImage& other) : fipImage(other) {}
    fipSuperImage(const fipImage& other) : fipImage(other) {}
    fipSuperImage& operator=(const fipSuperImage& other);
    fipSuperImage& operator=(const fipImage& other);
    // Takes the bitmap over; a locked page given back with fipMultiPage::unlockPage.
    fipSuperImage& operator=(FIBITMAP* dib);

    // Loads by content (else by name); JPEGs decode through TurboJPEG when flags are 0.
    BOOL load(const char* path, int flags = 0);
    // Loads a file's bytes held in memory, within the same decode limit.
    BOOL loadFromMemory(const std::uint8_t* data, std::size_t size);
    // Saves in the format of the name's extension, through a temporary file that replaces the
    // target only on success. Fails when the format cannot store this image as it is.
    BOOL save(const char* path, int flags = 0) const;
    // Like save, after converting a copy to a depth the format can write.
    BOOL saveFitBPP(const char* path, int flags = 0) const;
    // The same in a format chosen by the caller (formats may share an extension).
    BOOL save(FREE_IMAGE_FORMAT fif, const char* path, int flags = 0) const;
    BOOL saveFitBPP(FREE_IMAGE_FORMAT fif, const char* path, int flags = 0) const;
    // Converts in place to a type and depth the format can write.
    BOOL convertToSupportedBPP(FREE_IMAGE_FORMAT fif);
    // Whether the format can write this image, as it is or after convertToSupportedBPP.
    bool canBeSavedAs(FREE_IMAGE_FORMAT fif) const;

    static FREE_IMAGE_FORMAT getFIFFromFilename(const char* path);
    // By content, else by name.
    static FREE_IMAGE_FORMAT getFileType(const char* path);
    // True for a file the library can open as several pages and that has more than one.
    static BOOL isMultiPageFile(const char* path);
    static int getPageCount(const char* path);
    // Loads one page of a multi-page file (a copy; the file is opened read-only).
    BOOL loadPage(const char* path, int page);

    unsigned getBPP() const { return isValid() ? FreeImage_GetBPP(_dib) : 0; }
    BYTE* getBits() const { return isValid() ? FreeImage_GetBits(_dib) : nullptr; }
    // Size of the packed bitmap: header, colour masks or palette, pixels.
    std::size_t getDIBSize() const;
    // The packed bitmap in one buffer; empty for an invalid image.
    std::vector<std::uint8_t> copyToHandle() const;
    // Rebuilds the image from a packed bitmap; the bytes are checked, never trusted.
    BOOL copyFromHandle(const std::uint8_t* data, std::size_t size);
    BOOL copyFromHandle(const std::vector<std::uint8_t>& data) {
        return copyFromHandle(data.data(), data.size());
    }

    // Adopts the other image's bitmap without copying; the other becomes empty.
    BOOL replace(fipSuperImage& other);

    // Fills the rectangle (clipped to the image) with the colour.
    BOOL clearSubImage(int left, int top, int width, int height, RGBQUAD color);
    // Copies the rectangle into piece, then clears it with the colour.
    BOOL cut(fipSuperImage& piece, int left, int top, int width, int height, RGBQUAD color);
    // New canvas size; position 0-8 anchors the old picture (0 top-left, 1 top, 2 top-right,
    // 3 left, 4 centre, 5 right, 6 bottom-left, 7 bottom, 8 bottom-right). Smaller crops.
    BOOL setCanvasSize(unsigned width, unsigned height, int position, RGBQUAD color);
    // Standard bitmaps: bits 1, 4, 8, 24 or 32; grey-scale flag; colours (0 = no limit, else
    // the palette size for 4 and 8 bits or the number of grey levels).
    BOOL adjustBPP(unsigned bits, BOOL grayscale, unsigned colors);
    // 0 RBG, 1 BGR, 2 BRG, 3 GRB, 4 GBR: the new red, green and blue taken from those channels.
    BOOL swapChannels(int order);
    // Distinct colours (red, green, blue) among the pixels; 0 for an invalid image.
    unsigned getUniqueColors() const;
    // Hue in degrees [0, 360), saturation and lightness in [0, 1].
    static void RGBtoHSL(RGBQUAD color, double& hue, double& saturation, double& lightness);

    // Shrinks to fit inside width x height, never enlarging; convert turns other image types
    // into standard bitmaps first.
    BOOL makeThumbnail(unsigned width, unsigned height, BOOL convert = TRUE);
    // Makes this image a thumbnail of the source.
    BOOL makeThumbnail(const fipImage& source, unsigned width, unsigned height,
                       BOOL convert = TRUE);

    // Readable extensions, lower case, in the library's order.
    static std::vector<std::string> getReadableExtensions();
    // The same as zero-terminated strings ended by an empty one.
    static std::string getReadableExtensionList();
    static std::vector<FREE_IMAGE_FORMAT> getSupportsWritingFormats();
    // The format's usual extension, lower case, without the dot.
    static std::string getFIFExtension(FREE_IMAGE_FORMAT fif);
    // "desc (*.a;*.b)|*.a;*.b|..." for file dialogs: every readable format, led by all of them.
    static std::string getOpenFileFilter();
    // Every writable format, for any valid image (saving converts a depth a format cannot
    // store); empty for an image that is not valid.
    static std::string getSaveFileFilter(const fipImage& image);

private:
    BOOL adopt(FIBITMAP* dib);
    // Our own bitmap reader for .bmp/.dib/.rle files the library refuses.
    BOOL loadOwnBmp(const char* path);
};

// Whether the format's writer takes this type and depth as they are.
bool formatWritesDepth(FREE_IMAGE_FORMAT fif, FREE_IMAGE_TYPE type, unsigned bpp);

// A colour value 0x00BBGGRR as the library's colour, reserved byte 0.
inline RGBQUAD quadOfColorRef(std::uint32_t colorRef) {
    RGBQUAD quad{};
    quad.rgbRed = static_cast<BYTE>(colorRef & 0xFF);
    quad.rgbGreen = static_cast<BYTE>((colorRef >> 8) & 0xFF);
    quad.rgbBlue = static_cast<BYTE>((colorRef >> 16) & 0xFF);
    return quad;
}

// The size a picture of width x height takes inside a box: unchanged when it fits, else the
// longer side fills the box and the other is rounded half away from zero, at least 1.
void fitInside(unsigned width, unsigned height, unsigned boxWidth, unsigned boxHeight,
               unsigned& fitWidth, unsigned& fitHeight);

}  // namespace tarn
