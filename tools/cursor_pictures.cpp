// The image view's mouse pointers: the select tool's cross, the pan tool's open and grabbing
// hands and the zoom tool's magnifier, 32 x 32, white with a dark outline so that they show on
// any picture. Their hot spots are set where the program loads them.
#include <string>

#include "picture_canvas.h"

namespace pictures {

namespace {

constexpr Rgba kOutline{0, 0, 0};

// A stroke drawn white over a slightly wider dark one.
void outlined(FIBITMAP* b, double x0, double y0, double x1, double y1, double width) {
    line(b, x0, y0, x1, y1, width + 2, kOutline);
}
void filled(FIBITMAP* b, double x0, double y0, double x1, double y1, double width) {
    line(b, x0, y0, x1, y1, width, kWhite);
}

Bitmap drawCross() {
    Bitmap b = newCanvas(32, 32);
    outlined(b.get(), 16, 3, 16, 29, 2);
    outlined(b.get(), 3, 16, 29, 16, 2);
    filled(b.get(), 16, 3, 16, 29, 2);
    filled(b.get(), 3, 16, 29, 16, 2);
    rect(b.get(), 15, 15, 17, 17, kOutline);
    return b;
}

// A hand seen from its back: fingers spread (open) or curled into the palm (grabbing).
Bitmap drawHand(bool grabbing) {
    Bitmap b = newCanvas(32, 32);
    const double tip = grabbing ? 11 : 5;
    const double fingers[] = {10.5, 14.5, 18.5, 22.5};
    for (const double x : fingers) {
        outlined(b.get(), x, tip, x, 18, 3.4);
    }
    outlined(b.get(), 7, grabbing ? 17 : 14, 10, 21, 3.4);  // thumb
    fillShape(b.get(), kOutline, [](double x, double y) {
        return std::pow((x - 16.5) / 8.5, 2) + std::pow((y - 20) / 7.5, 2) <= 1;
    });
    for (const double x : fingers) {
        filled(b.get(), x, tip, x, 18, 3.4);
    }
    filled(b.get(), 7, grabbing ? 17 : 14, 10, 21, 3.4);
    fillShape(b.get(), kWhite, [](double x, double y) {
        return std::pow((x - 16.5) / 7.5, 2) + std::pow((y - 20) / 6.5, 2) <= 1;
    });
    return b;
}

Bitmap drawMagnifier() {
    Bitmap b = newCanvas(32, 32);
    outlined(b.get(), 18, 18, 28, 28, 4);
    filled(b.get(), 18, 18, 28, 28, 4);
    disc(b.get(), 12, 12, 10, kOutline);
    disc(b.get(), 12, 12, 8.5, kWhite);
    disc(b.get(), 12, 12, 7, {200, 225, 250});
    line(b.get(), 8, 12, 16, 12, 1.6, kOutline);
    line(b.get(), 12, 8, 12, 16, 1.6, kOutline);
    return b;
}

}  // namespace

bool makeCursors(const fs::path& out) {
    return save(drawCross().get(), out / "cursor select.png") &&
           save(drawHand(false).get(), out / "cursor pan.png") &&
           save(drawHand(true).get(), out / "cursor pan grab.png") &&
           save(drawMagnifier().get(), out / "cursor zoom.png");
}

}  // namespace pictures
