// The editing commands of the Image and Effects menus, one line each over the edit door: the
// whole image, the selection when there is one, or the whole image after which the selection
// goes. What an image takes is decided by its type and depth.
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <system_error>

#include "app/app_context.h"
#include "browser/file_actions.h"
#include "commands/command_ids.h"
#include "desktop/print_rules.h"
#include "imaging/effects/color_effects.h"
#include "imaging/effects/convolution.h"
#include "imaging/effects/geometry.h"
#include "imaging/effects/tone_operations.h"
#include "viewer/edit_conditions.h"
#include "viewer/image_view.h"

namespace tarn {

namespace {

// The depth commands: bits, grey scale, colours.
struct DepthCommand {
    int id;
    unsigned bits;
    BOOL grayscale;
    unsigned colors;
};

constexpr DepthCommand kDepthCommands[] = {
    {cmd::kDepthBlackWhite, 1, TRUE, 0},   {cmd::kDepth8Grays, 8, TRUE, 8},
    {cmd::kDepth16Grays, 8, TRUE, 16},     {cmd::kDepth256Grays, 8, TRUE, 256},
    {cmd::kDepth8Colors, 8, FALSE, 8},     {cmd::kDepth16Colors, 8, FALSE, 16},
    {cmd::kDepth256Colors, 8, FALSE, 256}, {cmd::kDepth24Bit, 24, FALSE, 0},
    {cmd::kDepth32Bit, 32, FALSE, 0},
};

// The channel orders of the Swap Colors commands, 0 to 4.
constexpr int kSwapCommands[] = {cmd::kSwapRbg, cmd::kSwapBgr, cmd::kSwapBrg, cmd::kSwapGrb,
                                 cmd::kSwapGbr};

// From this size on an edit can take long enough for the window to need repainting meanwhile.
constexpr std::uint64_t kBackgroundEditPixels = 2'000'000;

}  // namespace

// ---- the edit door ---------------------------------------------------------------------

bool CImageView::runImageWork(const std::function<bool()>& work) {
    const wxBusyCursor busy;
    const fipSuperImage* image = m_document.image();
    if (image == nullptr ||
        std::uint64_t{image->getWidth()} * image->getHeight() < kBackgroundEditPixels) {
        return work();
    }
    // A big image is worked on beside the event loop: the window shows its last picture when
    // uncovered, and the user's input waits for the work to end.
    m_frozenFrame = drawnFrame();
    m_host.imageBusy();
    std::future<bool> done;
    try {
        done = std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        done = std::async(std::launch::deferred, work);  // no thread to be had: run it here
    }
    wxGUIEventLoop ownLoop;
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    const wxEventLoopActivator activator(loop != nullptr ? loop : &ownLoop);
    while (done.wait_for(std::chrono::milliseconds(15)) == std::future_status::timeout) {
        wxEventLoopBase::GetActive()->YieldFor(wxEVT_CATEGORY_UI);
    }
    m_frozenFrame = wxBitmap();
    const bool changed = done.get();
    if (!changed) {
        m_host.imageChanged();  // as it was; a change is announced with the new layout
    }
    return changed;
}

wxBitmap CImageView::drawnFrame() {
    const wxSize size = GetClientSize();
    wxBitmap frame(std::max(size.x, 1), std::max(size.y, 1));
    wxMemoryDC dc(frame);
    m_renderer.paint(dc, m_geometry, m_document.image(), m_document.path(), false, m_backdrop);
    paintSelection(dc);
    return frame;
}

bool CImageView::edit(const ImageEdit& edit) {
    if (!runImageWork([this, &edit] { return m_document.applyEdit(edit); })) {
        return false;
    }
    refreshAfterEdit();
    return true;
}

bool CImageView::editSelection(const ImageEdit& edit) {
    if (!hasSelection()) {
        return this->edit(edit);
    }
    const Rect area = m_selection.rect();
    if (!runImageWork([this, &edit, area] { return m_document.applyEdit(edit, area); })) {
        return false;
    }
    refreshAfterEdit();
    return true;
}

void CImageView::undo() {
    if (runImageWork([this] { return m_document.undo(); })) {
        refreshAfterEdit();
    }
}

void CImageView::redo() {
    if (runImageWork([this] { return m_document.redo(); })) {
        refreshAfterEdit();
    }
}

// ---- the commands ----------------------------------------------------------------------

void CImageView::addEditCommands() {
    CommandHandlers& c = m_commands;
    using Test = bool (*)(const fipImage&);
    const auto when = [this](Test test) {
        return [this, test] { return hasImage() && test(*m_document.image()); };
    };
    const auto selected = [this] { return hasSelection(); };
    // The three ways an edit meets the image.
    const auto inSelection = [this](ImageEdit edit) {
        return [this, edit = std::move(edit)] { editSelection(edit); };
    };
    const auto whole = [this](ImageEdit edit) {
        return [this, edit = std::move(edit)] { this->edit(edit); };
    };
    const auto wholeThenDrop = [this](ImageEdit edit) {
        return [this, edit = std::move(edit)] { editAndDropSelection(edit); };
    };
    const auto turn = [](double degrees) {
        return [degrees](fipSuperImage& image) { return rotateImage(image, degrees); };
    };

    c.add(cmd::kNegative, when(isStandardBitmap), inSelection([](auto& i) { return invert(i); }));
    c.add(cmd::kGrayscale, when(isStandardBitmap),
          whole([](auto& i) { return convertToGrayscale(i); }));
    c.add(cmd::kBlackWhite, when(isStandardBitmap), whole([](auto& i) { return dither(i); }));
    c.add(cmd::kSepia, when(isTrueColor), inSelection([](auto& i) { return sepia(i); }));
    const auto convolution = [&](const ConvolutionParams& kernel) {
        return inSelection([&kernel](auto& i) { return convolute(i, kernel); });
    };
    c.add(cmd::kGaussianBlur3, when(isAnyImage), convolution(kGaussian3()));
    c.add(cmd::kGaussianBlur5, when(isAnyImage), convolution(kGaussian5()));
    c.add(cmd::kSoften, when(isAnyImage), convolution(kSoften()));
    c.add(cmd::kSharpen, when(isAnyImage), convolution(kSharpen()));
    c.add(cmd::kErode, when(isTrueColor), inSelection([](auto& i) { return erode(i, {5}); }));
    c.add(cmd::kEdgeHeavy, when(isTrueColor),
          inSelection([](auto& i) { return edgeDetectHeavy(i); }));
    c.add(cmd::kEdgeMedium, when(isTrueColor),
          inSelection([](auto& i) { return edgeDetectMedium(i); }));
    c.add(cmd::kEdgeLight, when(isTrueColor),
          inSelection([](auto& i) { return edgeDetectLight(i); }));
    c.add(cmd::kRedEyeReduction, when(isTrueColor), [this] { redEyeReduction(); });
    for (int order = 0; order < 5; ++order) {
        c.add(kSwapCommands[order], when(isStandardBitmap),
              inSelection([order](auto& i) { return i.swapChannels(order) != FALSE; }));
    }
    c.add(cmd::kFlipVertical, when(isAnyImage),
          inSelection([](auto& i) { return flipImageVertical(i); }));
    c.add(cmd::kFlipHorizontal, when(isAnyImage),
          inSelection([](auto& i) { return flipImageHorizontal(i); }));
    c.add(cmd::kRotateLeft, when(isTurnable), wholeThenDrop(turn(90)));
    c.add(cmd::kRotateRight, when(isTurnable), wholeThenDrop(turn(270)));
    c.add(cmd::kRotate180, when(isTurnable), wholeThenDrop(turn(180)));
    for (const DepthCommand& depth : kDepthCommands) {
        c.add(depth.id, when(isStandardBitmap), whole([depth](auto& i) {
                  return i.adjustBPP(depth.bits, depth.grayscale, depth.colors) != FALSE;
              }));
    }
    c.add(cmd::kCropToSelection, selected, [this] { cropToSelection(); });
    c.add(cmd::kClear, selected, [this] { clearSelectedArea(); });
    c.add(cmd::kCountColors, when(canCountColors), [this] { countColors(); });
    c.add(cmd::kSetBackgroundColor, CommandHandlers::always, [this] { chooseBackgroundColor(); });
    c.add(
        cmd::kPrint, [this] { return hasImage() && !m_document.path().empty(); },
        [this] { print(); });
}

void CImageView::cropToSelection() {
    const Rect r = m_selection.rect();
    editAndDropSelection(
        [r](fipSuperImage& image) { return cropImage(image, r.left, r.top, r.right, r.bottom); });
}

void CImageView::clearSelectedArea() {
    const Rect r = m_selection.rect();
    const RGBQUAD background = quadOfColorRef(m_backgroundColor);
    edit([r, background](fipSuperImage& image) {
        return image.clearSubImage(r.left, r.top, r.width(), r.height(), background) != FALSE;
    });
}

void CImageView::countColors() {
    const fipSuperImage* image = m_document.image();
    if (image == nullptr) {
        return;
    }
    unsigned colors = 0;
    {
        const wxBusyCursor busy;
        colors = image->getUniqueColors();
    }
    m_prompts.inform("The number of unique colors is: " + std::to_string(colors) + ".",
                     "Unique Colors");
}

void CImageView::redEyeReduction() {
    if (!hasSelection()) {
        m_prompts.inform(
            "The feature works only on selections.\nCreate first a selection in the image "
            "using the left mouse button.",
            "Red Eye Reduction");
        return;
    }
    editSelection([](fipSuperImage& image) { return removeRedEye(image); });
}

void CImageView::chooseBackgroundColor() {
    if (const auto chosen = m_prompts.chooseColor(m_backgroundColor)) {
        m_backgroundColor = *chosen;
    }
}

void CImageView::print() {
    const fipSuperImage* image = m_document.image();
    if (image == nullptr || m_document.path().empty()) {
        return;
    }
    std::string file;
    {
        const wxBusyCursor busy;
        file = openImageToPrint(*image, m_document.path(), m_document.modified(),
                                m_context.folders.tempFolder);
    }
    if (!file.empty()) {
        m_host.fileActions().print(file);
    }
}

bool CImageView::canTransformJpeg() const {
    return hasImage() && isJpegByName(m_document.path());
}

void CImageView::transformJpeg(JpegTransform operation) {
    // Unsaved changes are settled first, so that saving them afterwards cannot write the old
    // orientation over the turned file.
    if (!canTransformJpeg() || !querySave()) {
        return;
    }
    const std::string path = m_document.path();
    bool done = false;
    {
        const wxBusyCursor busy;
        done = transformJpegFile(path, operation);
    }
    if (done) {
        const int index = currentIndex();
        closeImage();
        openItem(index, 0);
    }
}

}  // namespace tarn
