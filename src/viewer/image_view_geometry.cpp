// The image view's geometry and depth commands: each runs its dialog, then changes the image
// through the edit door with the dialog's values. Cancel changes nothing and pushes no step.
#include <algorithm>

#include "commands/command_ids.h"
#include "common/rounding.h"
#include "dialogs/dlg_change_bpp.h"
#include "dialogs/dlg_resize.h"
#include "dialogs/dlg_resize_canvas.h"
#include "dialogs/dlg_set_dpi.h"
#include "dialogs/dlg_set_zoom_level.h"
#include "dialogs/resize_rules.h"
#include "imaging/effects/geometry.h"
#include "viewer/edit_conditions.h"
#include "viewer/image_view.h"

namespace tarn {

namespace {

// The library keeps resolutions in dots per centimetre, the dialogs show dots per inch.
constexpr double kCentimetresPerInch = 0.39370078740157477;

}  // namespace

void CImageView::addGeometryCommands() {
    const auto open = [this] { return hasImage(); };
    const auto openWhere = [this](bool (*test)(const fipImage&)) {
        return [this, test] { return hasImage() && test(*m_document.image()); };
    };
    m_commands.add(cmd::kZoomTo, open, [this] { zoomToDialog(); });
    m_commands.add(cmd::kResize, openWhere(canRescale), [this] { resizeDialog(); });
    m_commands.add(cmd::kCanvasSize, openWhere(isStandardBitmap), [this] { canvasSizeDialog(); });
    m_commands.add(cmd::kSetDpi, open, [this] { setDpiDialog(); });
    m_commands.add(cmd::kDepthCustom, openWhere(isStandardBitmap), [this] { colorDepthDialog(); });
}

bool CImageView::editAndDropSelection(const ImageEdit& edit) {
    if (!this->edit(edit)) {
        return false;
    }
    clearSelection();
    return true;
}

void CImageView::zoomToDialog() {
    ZoomLevelView view;
    view.zoom = [this] { return m_geometry.zoom(); };
    view.isLocked = [this] { return m_geometry.zoomType() == ZoomType::ZoomLock; };
    view.setZoom = [this](double zoom) { setCustomZoom(zoom); };
    view.fit = [this](int type) { fit(static_cast<ZoomType>(type)); };
    view.setLock = [this](bool lock) {
        if (lock) {
            zoomLock();
        } else {
            m_geometry.unlockZoom();
        }
    };
    CDlgSetZoomLevel dialog(this, std::move(view));
    m_prompts.runDialog(dialog);
}

void CImageView::resizeDialog() {
    const fipSuperImage* image = m_document.image();
    CDlgResize dialog(image, this);
    if (image == nullptr || m_prompts.runDialog(dialog) != wxID_OK) {
        return;
    }
    const unsigned width = static_cast<unsigned>(dialog.newWidth());
    const unsigned height = static_cast<unsigned>(dialog.newHeight());
    const auto filter = static_cast<FREE_IMAGE_FILTER>(
        kLibraryFilterNumbers.at(std::clamp(dialog.filterIndex(), 0, 5)));
    const double dpiX = dialog.newDpiX();
    const double dpiY = dialog.newDpiY();
    editAndDropSelection([=](fipSuperImage& picture) {
        const double oldX = picture.getHorizontalResolution() / kCentimetresPerInch;
        const double oldY = picture.getVerticalResolution() / kCentimetresPerInch;
        if (!rescaleImage(picture, {width, height, filter})) {
            return false;
        }
        // Only a resolution the user changed is written, so that rounding leaves the rest.
        if (roundToInt(dpiX) != roundToInt(oldX)) {
            picture.setHorizontalResolution(dpiX * kCentimetresPerInch);
        }
        if (roundToInt(dpiY) != roundToInt(oldY)) {
            picture.setVerticalResolution(dpiY * kCentimetresPerInch);
        }
        return true;
    });
}

void CImageView::canvasSizeDialog() {
    const fipSuperImage* image = m_document.image();
    CDlgResizeCanvas dialog(image, this);
    if (image == nullptr || m_prompts.runDialog(dialog) != wxID_OK) {
        return;
    }
    const unsigned width = static_cast<unsigned>(dialog.newWidth());
    const unsigned height = static_cast<unsigned>(dialog.newHeight());
    const int position = dialog.positionIndex();
    const RGBQUAD background = quadOfColorRef(dialog.colour());
    editAndDropSelection([=](fipSuperImage& picture) {
        return picture.setCanvasSize(width, height, position, background) != FALSE;
    });
}

void CImageView::setDpiDialog() {
    const fipSuperImage* image = m_document.image();
    CDlgSetDPI dialog(image, this);
    if (image == nullptr || m_prompts.runDialog(dialog) != wxID_OK) {
        return;
    }
    const double x = dialog.dpiX() * kCentimetresPerInch;
    const double y = dialog.dpiY() * kCentimetresPerInch;
    // Only the resolution changes: nothing to redraw.
    m_document.applyEdit([x, y](fipSuperImage& picture) {
        picture.setHorizontalResolution(x);
        picture.setVerticalResolution(y);
        return true;
    });
    m_host.refreshTitle();
}

void CImageView::colorDepthDialog() {
    const fipSuperImage* image = m_document.image();
    CDlgChangeBPP dialog(image, this);
    if (image == nullptr || m_prompts.runDialog(dialog) != wxID_OK) {
        return;
    }
    const unsigned bits = dialog.bitsPerPixel();
    const unsigned colors = dialog.maxColors();
    const BOOL grey = dialog.grayscale() ? TRUE : FALSE;
    edit([=](fipSuperImage& picture) { return picture.adjustBPP(bits, grey, colors) != FALSE; });
}

}  // namespace tarn
