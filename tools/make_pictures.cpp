// Makes the pictures the program loads at run time: the tool-bar strip "tool bar.png" (35
// images of 24 x 24, normal half then greyed half), the pane-chooser buttons, the slide show's
// buttons, the folder picture, the shortcut overlay of the thumbnail list and the image view's
// mouse pointers. Icons come
// from the desktop icon theme where it has a fitting one; the rest are drawn here.
//
//   make_pictures <icon theme folder> <output folder>
#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture_canvas.h"

namespace pictures {
// The image view's mouse pointers (cursor_pictures.cpp).
bool makeCursors(const fs::path& out);
}  // namespace pictures

namespace {

using namespace pictures;

// Our own drawings for the buttons the icon theme has nothing fitting for.
Bitmap drawCrop() {
    Bitmap b = newCanvas(24, 24);
    line(b.get(), 6, 2, 6, 18, 2, kInk);
    line(b.get(), 2, 6, 18, 6, 2, kInk);
    line(b.get(), 18, 6, 18, 22, 2, kInk);
    line(b.get(), 6, 18, 22, 18, 2, kInk);
    rect(b.get(), 7, 7, 17, 17, {53, 132, 228, 110});
    return b;
}

Bitmap drawRedEye() {
    Bitmap b = newCanvas(24, 24);
    fillShape(b.get(), kWhite, [](double x, double y) {
        return std::pow((x - 12) / 10.5, 2) + std::pow((y - 12) / 6.5, 2) <= 1;
    });
    fillShape(b.get(), kInk, [](double x, double y) {
        const double d = std::pow((x - 12) / 10.5, 2) + std::pow((y - 12) / 6.5, 2);
        return d <= 1 && d >= 0.72;
    });
    disc(b.get(), 12, 12, 5, {200, 30, 30});
    disc(b.get(), 12, 12, 2.2, {60, 0, 0});
    disc(b.get(), 10.5, 10.5, 1, kWhite);
    return b;
}

Bitmap drawColors() {
    Bitmap b = newCanvas(24, 24);
    disc(b.get(), 12, 8.5, 6, {230, 40, 40, 200});
    disc(b.get(), 8, 15, 6, {40, 180, 60, 200});
    disc(b.get(), 16, 15, 6, {40, 90, 230, 200});
    return b;
}

Bitmap drawPan() {
    Bitmap b = newCanvas(24, 24);
    line(b.get(), 12, 4, 12, 20, 2, kInk);
    line(b.get(), 4, 12, 20, 12, 2, kInk);
    triangle(b.get(), 12, 1, 8, 6, 16, 6, kInk);
    triangle(b.get(), 12, 23, 8, 18, 16, 18, kInk);
    triangle(b.get(), 1, 12, 6, 8, 6, 16, kInk);
    triangle(b.get(), 23, 12, 18, 8, 18, 16, kInk);
    return b;
}

Bitmap drawSelect() {
    Bitmap b = newCanvas(24, 24);
    for (int i = 3; i < 21; i += 4) {
        line(b.get(), i, 4, i + 2, 4, 1.5, kInk);
        line(b.get(), i, 20, i + 2, 20, 1.5, kInk);
        line(b.get(), 3, i + 1, 3, i + 3, 1.5, kInk);
        line(b.get(), 21, i + 1, 21, i + 3, 1.5, kInk);
    }
    return b;
}

Bitmap drawSlideShow() {
    Bitmap b = newCanvas(24, 24);
    rect(b.get(), 2, 3, 22, 17, kInk);
    rect(b.get(), 3.5, 4.5, 20.5, 15.5, kWhite);
    triangle(b.get(), 9, 6.5, 9, 13.5, 15, 10, kBlue);
    line(b.get(), 12, 17, 12, 21, 2, kInk);
    line(b.get(), 7, 21.5, 17, 21.5, 2, kInk);
    return b;
}

// The theme icon of a name at a size, scaled from a larger one when needed.
Bitmap themeIcon(const fs::path& theme, const std::string& name, int size) {
    std::vector<fs::path> candidates;
    std::error_code ec;
    for (const int s : {size, 32, 48, 64, 96, 256}) {
        const fs::path dir = theme / (std::to_string(s) + "x" + std::to_string(s));
        if (!fs::is_directory(dir, ec)) {
            continue;
        }
        for (const auto& context : fs::directory_iterator(dir, ec)) {
            const fs::path file = context.path() / (name + ".png");
            if (fs::is_regular_file(file, ec)) {
                candidates.push_back(file);
            }
        }
        if (!candidates.empty()) {
            break;
        }
    }
    if (candidates.empty()) {
        return Bitmap(nullptr, &FreeImage_Unload);
    }
    Bitmap loaded(FreeImage_Load(FIF_PNG, candidates.front().c_str(), 0), &FreeImage_Unload);
    if (!loaded) {
        return loaded;
    }
    Bitmap rgba(FreeImage_ConvertTo32Bits(loaded.get()), &FreeImage_Unload);
    if (rgba && static_cast<int>(FreeImage_GetWidth(rgba.get())) != size) {
        return Bitmap(FreeImage_Rescale(rgba.get(), size, size, FILTER_CATMULLROM),
                      &FreeImage_Unload);
    }
    return rgba;
}

// The disabled look: grey, lighter and half transparent.
void greyOut(FIBITMAP* bmp) {
    const int w = static_cast<int>(FreeImage_GetWidth(bmp));
    const int h = static_cast<int>(FreeImage_GetHeight(bmp));
    for (int y = 0; y < h; ++y) {
        BYTE* p = FreeImage_GetScanLine(bmp, y);
        for (int x = 0; x < w; ++x, p += 4) {
            const int luma =
                (p[FI_RGBA_RED] * 299 + p[FI_RGBA_GREEN] * 587 + p[FI_RGBA_BLUE] * 114) / 1000;
            const BYTE grey = static_cast<BYTE>(128 + luma / 2);
            p[FI_RGBA_RED] = p[FI_RGBA_GREEN] = p[FI_RGBA_BLUE] = grey;
            p[FI_RGBA_ALPHA] = static_cast<BYTE>(p[FI_RGBA_ALPHA] / 2);
        }
    }
}

bool makeToolBar(const fs::path& theme, const fs::path& out) {
    using Drawer = Bitmap (*)();
    struct Entry {
        const char* icon;  // theme icon name, or null for a drawing
        Drawer draw;
    };
    // Image indices 0..34 of the two tool bars.
    const std::array<Entry, 35> entries{{
        {"go-previous", nullptr},
        {"go-next", nullptr},
        {"go-up", nullptr},
        {"document-send", nullptr},
        {"bookmark-new", nullptr},
        {"folder-new", nullptr},
        {"edit-delete", nullptr},
        {"object-rotate-left", nullptr},
        {"object-rotate-right", nullptr},
        {nullptr, drawSlideShow},
        {"view-fullscreen", nullptr},
        {"document-print", nullptr},
        {"mail-send", nullptr},
        {"preferences-desktop-wallpaper", nullptr},
        {"view-sort-ascending", nullptr},
        {"document-properties", nullptr},
        {"help-browser", nullptr},
        {nullptr, nullptr},  // 17: not used by any button
        {"system-file-manager", nullptr},
        {"document-open", nullptr},
        {"document-save-as", nullptr},
        {"edit-undo", nullptr},
        {"edit-redo", nullptr},
        {nullptr, drawCrop},
        {nullptr, drawRedEye},
        {nullptr, drawColors},
        {"media-skip-backward", nullptr},
        {"media-skip-forward", nullptr},
        {"media-playback-start", nullptr},
        {nullptr, drawPan},
        {nullptr, drawSelect},
        {"edit-find", nullptr},
        {"zoom-in", nullptr},
        {"zoom-out", nullptr},
        {"zoom-fit-best", nullptr},
    }};
    constexpr int kCount = static_cast<int>(entries.size());
    Bitmap strip = newCanvas(kCount * 24 * 2, 24);
    for (int i = 0; i < kCount; ++i) {
        Bitmap icon(nullptr, &FreeImage_Unload);
        if (entries[i].icon != nullptr) {
            icon = themeIcon(theme, entries[i].icon, 24);
        }
        if (!icon && entries[i].draw != nullptr) {
            icon = entries[i].draw();
        }
        if (!icon && entries[i].icon != nullptr) {
            icon = drawSelect();  // the theme lacks it: a neutral stand-in rather than a hole
        }
        if (!icon) {
            continue;
        }
        FreeImage_Paste(strip.get(), icon.get(), i * 24, 0, 256);
        Bitmap grey(FreeImage_Clone(icon.get()), &FreeImage_Unload);
        greyOut(grey.get());
        FreeImage_Paste(strip.get(), grey.get(), (kCount + i) * 24, 0, 256);
    }
    return save(strip.get(), out / "tool bar.png");
}

// A 5 x 7 pixel font for the button captions.
struct Glyph {
    char c;
    std::array<const char*, 7> rows;
};
constexpr Glyph kGlyphs[] = {
    {'F', {"11111", "10000", "10000", "11110", "10000", "10000", "10000"}},
    {'o', {"00000", "00000", "01110", "10001", "10001", "10001", "01110"}},
    {'l', {"01100", "00100", "00100", "00100", "00100", "00100", "01110"}},
    {'d', {"00001", "00001", "01111", "10001", "10001", "10011", "01101"}},
    {'e', {"00000", "00000", "01110", "10001", "11111", "10000", "01110"}},
    {'r', {"00000", "00000", "10110", "11001", "10000", "10000", "10000"}},
    {'s', {"00000", "00000", "01111", "10000", "01110", "00001", "11110"}},
    {'a', {"00000", "00000", "01110", "00001", "01111", "10001", "01111"}},
    {'v', {"00000", "00000", "10001", "10001", "10001", "01010", "00100"}},
    {'i', {"00100", "00000", "01100", "00100", "00100", "00100", "01110"}},
    {'t', {"01000", "01000", "11100", "01000", "01000", "01001", "00110"}},
};

void text(FIBITMAP* b, int x, int y, const std::string& s, Rgba c) {
    for (const char ch : s) {
        for (const Glyph& g : kGlyphs) {
            if (g.c != ch) {
                continue;
            }
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (g.rows[row][col] == '1') {
                        blend(b, x + col, y + row, c);
                    }
                }
            }
        }
        x += 6;
    }
}

enum class Look { Normal, Hover, Pressed };

bool makePaneButton(const fs::path& theme, const fs::path& out, const std::string& file, int width,
                    const std::string& icon, const std::string& caption, Look look) {
    Bitmap b = newCanvas(width, 24);
    if (look != Look::Normal) {
        const Rgba border = look == Look::Hover ? Rgba{125, 162, 206} : Rgba{95, 138, 196};
        const Rgba fill = look == Look::Hover ? Rgba{219, 232, 249} : Rgba{196, 217, 245};
        rect(b.get(), 0, 0, width, 24, border);
        rect(b.get(), 1, 1, width - 1, 23, fill);
    }
    if (Bitmap i = themeIcon(theme, icon, 16)) {
        composite(b.get(), i.get(), 3, 4);
    }
    text(b.get(), 21, 8, caption, kInk);
    return save(b.get(), out / file);
}

bool makePaneButtons(const fs::path& theme, const fs::path& out) {
    bool ok = true;
    const struct {
        const char* suffix;
        Look look;
    } looks[] = {{"", Look::Normal}, {" hover", Look::Hover}, {" pressed", Look::Pressed}};
    for (const auto& l : looks) {
        ok = makePaneButton(theme, out, std::string("pane folders") + l.suffix + ".png", 67,
                            "folder", "Folders", l.look) &&
             ok;
        ok = makePaneButton(theme, out, std::string("pane favorites") + l.suffix + ".png", 76,
                            "starred", "Favorites", l.look) &&
             ok;
    }
    return ok;
}

// The slide show's button strip: 31 x 31 pictures per button in four looks, the glyph drawn
// here so that all five match.
enum class SlideLook { Normal, Hover, Pressed, Disabled };

void drawSlideGlyph(FIBITMAP* b, const std::string& name, Rgba ink) {
    if (name == "play") {
        triangle(b, 11, 8, 11, 23, 23, 15.5, ink);
    } else if (name == "pause") {
        rect(b, 9.5, 8, 13.5, 23, ink);
        rect(b, 17.5, 8, 21.5, 23, ink);
    } else if (name == "previous") {
        rect(b, 8, 8.5, 10.5, 22.5, ink);
        triangle(b, 22, 8.5, 22, 22.5, 11, 15.5, ink);
    } else if (name == "next") {
        triangle(b, 9, 8.5, 9, 22.5, 20, 15.5, ink);
        rect(b, 20.5, 8.5, 23, 22.5, ink);
    } else if (name == "exit") {
        line(b, 10, 10, 21, 21, 3, ink);
        line(b, 21, 10, 10, 21, 3, ink);
    }
}

bool makeSlideButton(const fs::path& out, const std::string& name, SlideLook look) {
    Bitmap b = newCanvas(31, 31);
    Rgba ink = kInk;
    if (look == SlideLook::Hover || look == SlideLook::Pressed) {
        const bool hover = look == SlideLook::Hover;
        rect(b.get(), 1, 1, 30, 30, hover ? Rgba{125, 162, 206} : Rgba{95, 138, 196});
        rect(b.get(), 2, 2, 29, 29, hover ? Rgba{219, 232, 249} : Rgba{196, 217, 245});
    } else if (look == SlideLook::Disabled) {
        ink = {160, 164, 166};
    }
    if (name == "exit" && look != SlideLook::Disabled) {
        ink = look == SlideLook::Normal ? Rgba{170, 40, 40} : Rgba{200, 30, 30};
    }
    drawSlideGlyph(b.get(), name, ink);
    const char* suffix = look == SlideLook::Hover      ? " hover"
                         : look == SlideLook::Pressed  ? " pressed"
                         : look == SlideLook::Disabled ? " disabled"
                                                       : "";
    return save(b.get(), out / ("slide " + name + suffix + ".png"));
}

bool makeSlideButtons(const fs::path& out) {
    bool ok = true;
    for (const char* name : {"play", "pause", "previous", "next", "exit"}) {
        for (const SlideLook look :
             {SlideLook::Normal, SlideLook::Hover, SlideLook::Pressed, SlideLook::Disabled}) {
            if (look == SlideLook::Disabled && std::string(name) == "exit") {
                continue;  // Exit is never disabled
            }
            ok = makeSlideButton(out, name, look) && ok;
        }
    }
    return ok;
}

// The folder picture of the thumbnail list, and the arrow laid over shortcuts.
bool makeListPictures(const fs::path& theme, const fs::path& out) {
    Bitmap folder = themeIcon(theme, "folder", 128);
    if (!folder) {
        folder = newCanvas(128, 128);
        rect(folder.get(), 8, 24, 56, 40, {82, 148, 226});
        rect(folder.get(), 8, 34, 120, 112, {98, 160, 234});
    }
    Bitmap overlay = newCanvas(32, 32);
    rect(overlay.get(), 0, 0, 32, 32, kInk);
    rect(overlay.get(), 1, 1, 31, 31, kWhite);
    if (Bitmap emblem = themeIcon(theme, "emblem-symbolic-link", 24)) {
        composite(overlay.get(), emblem.get(), 4, 4);
    } else {
        line(overlay.get(), 9, 23, 22, 10, 3.5, kBlue);
        triangle(overlay.get(), 24, 8, 14, 8, 24, 18, kBlue);
    }
    return save(folder.get(), out / "folder.png") &&
           save(overlay.get(), out / "shortcut overlay.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_pictures <icon theme folder> <output folder>\n");
        return 2;
    }
    FreeImage_Initialise(FALSE);
    const fs::path theme = argv[1];
    const fs::path out = argv[2];
    std::error_code ec;
    fs::create_directories(out, ec);
    const bool ok = makeToolBar(theme, out) && makePaneButtons(theme, out) &&
                    makeListPictures(theme, out) && makeSlideButtons(out) &&
                    pictures::makeCursors(out);
    FreeImage_DeInitialise();
    if (!ok) {
        std::fprintf(stderr, "make_pictures: could not write the pictures to %s\n", argv[2]);
        return 1;
    }
    return 0;
}
