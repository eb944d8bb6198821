#include <gtest/gtest.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/dlg_change_bpp.h"
#include "dialogs/dlg_resize.h"
#include "dialogs/dlg_resize_canvas.h"
#include "dialogs/dlg_set_dpi.h"
#include "dialogs/dlg_set_zoom_level.h"
#include "imaging/fip_super_image.h"
#include "ui/dialog_input.h"
#include "ui/screen_grab.h"

namespace tarn {
namespace {

// A text box asked for its best size counts its present size in; a fresh one tells what the
// style needs.
int neededHeight(wxWindow* control) {
    if (dynamic_cast<wxTextCtrl*>(control) == nullptr) {
        return control->GetBestSize().y;
    }
    auto* fresh = new wxTextCtrl(control->GetParent(), wxID_ANY, "0");
    const int height = fresh->GetBestSize().y;
    fresh->Destroy();
    return height;
}

// Every control inside its parent, none on top of another, none smaller than its text needs.
void expectTidyLayout(wxWindow* parent, const std::string& dialog) {
    std::vector<wxWindow*> controls;
    for (wxWindow* child : parent->GetChildren()) {
        if (child->IsShown() && !child->IsTopLevel()) {
            controls.push_back(child);
        }
    }
    const wxRect inside(wxPoint(0, 0), parent->GetClientSize());
    for (std::size_t first = 0; first < controls.size(); ++first) {
        wxWindow* child = controls[first];
        const wxRect rect = child->GetRect();
        EXPECT_TRUE(inside.Contains(rect))
            << dialog << ": " << child->GetClassInfo()->GetClassName() << " \"" << child->GetLabel()
            << "\" leaves its parent";
        EXPECT_GE(rect.height, neededHeight(child))
            << dialog << ": \"" << child->GetLabel() << "\" is cut off";
        for (std::size_t second = first + 1; second < controls.size(); ++second) {
            EXPECT_FALSE(rect.Intersects(controls[second]->GetRect()))
                << dialog << ": \"" << child->GetLabel() << "\" overlaps \""
                << controls[second]->GetLabel() << "\"";
        }
        if (dynamic_cast<wxStaticBox*>(child) != nullptr) {
            expectTidyLayout(child, dialog);
        }
    }
}

// Shows the dialog, checks its layout and keeps a picture of it when TARN_DIALOG_SHOTS names a
// folder.
void checkDialog(wxDialog& dialog, const std::string& name, wxSize dialogUnits) {
    test::showWithKeyboard(dialog);
    const wxSize client = dialog.GetClientSize();
    const wxSize planned = dialog.ConvertDialogToPixels(dialogUnits);
    EXPECT_GE(client.x, planned.x) << name;
    EXPECT_GE(client.y, planned.y) << name;
    expectTidyLayout(&dialog, name);
    if (const char* folder = std::getenv("TARN_DIALOG_SHOTS")) {
        dialog.Refresh();
        dialog.Update();
        test::flushEvents();
        const wxImage screen = test::grabScreen();
        ASSERT_TRUE(screen.IsOk());
        const wxRect frame = dialog.GetScreenRect().Intersect(wxRect(wxPoint(), screen.GetSize()));
        screen.GetSubImage(frame).SaveFile(std::string(folder) + "/" + name + ".png",
                                           wxBITMAP_TYPE_PNG);
    }
}

TEST(GeometryDialogLayout, EveryDialogFitsItsControls) {
    fipSuperImage image;
    image = FreeImage_Allocate(4000, 3000, 24);
    {
        CDlgResize dialog(&image, nullptr);
        checkDialog(dialog, "resize", {170, 223});
    }
    {
        CDlgResizeCanvas dialog(&image, nullptr);
        checkDialog(dialog, "resize_canvas", {170, 217});
    }
    {
        CDlgSetDPI dialog(&image, nullptr);
        checkDialog(dialog, "set_dpi", {165, 94});
    }
    {
        CDlgChangeBPP dialog(&image, nullptr);
        checkDialog(dialog, "change_bpp", {129, 158});
    }
    {
        ZoomLevelView view{[] { return 1.0; }, [] { return false; }, [](double) {}, [](int) {},
                           [](bool) {}};
        CDlgSetZoomLevel dialog(nullptr, view);
        checkDialog(dialog, "set_zoom_level", {162, 155});
    }
}

}  // namespace
}  // namespace tarn
