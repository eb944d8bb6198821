#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <filesystem>

#include "dialogs/file_property_dlg.h"
#include "fakes/temp_dir.h"
#include "imaging/exif_fixtures.h"
#include "info/exif_info_wnd.h"
#include "screen_grab.h"
#include "ui_test_support.h"

namespace tarn {
namespace {

// Where a run keeps pictures of the windows for a person to look at, when asked to.
std::string shotPath(const char* name) {
    const char* folder = std::getenv("TARN_TEST_SHOTS");
    return folder != nullptr ? std::string(folder) + "/" + name : std::string();
}

wxImage drawnPanel(const CExifInfoWnd& panel) {
    const wxSize size = panel.GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    {
        wxMemoryDC dc(bitmap);
        panel.draw(dc);
    }
    return bitmap.ConvertToImage();
}

// Whether any pixel of the rectangle is darker than the panel's grey: text was drawn there.
bool hasInk(const wxImage& image, const wxRect& rect) {
    for (int y = rect.y; y < rect.GetBottom(); ++y) {
        for (int x = rect.x; x < rect.GetRight(); ++x) {
            if (image.GetRed(x, y) < 180) {
                return true;
            }
        }
    }
    return false;
}

// Sets the panel's file and waits for its worker to have read it.
void showFile(CExifInfoWnd& panel, const std::string& path) {
    const int before = panel.finishedRequests();
    panel.setFile(path);
    ASSERT_TRUE(test::waitFor([&] { return panel.finishedRequests() > before; }));
    test::flushEvents();
}

TEST(ExifInfoWnd, ShowsTheEightFactsInTwoColumns_AndEmptiesForOtherFiles) {
    test::TempDir dir;
    const std::string photo = dir.file("photo.jpg");
    ASSERT_TRUE(test::writeJpegWithExif(
        photo,
        "-Make=Canon '-Model=Canon EOS 5D' -ExposureTime=1/250 -FNumber=5.6 -ISO=400"
        " -FocalLength=50 -ExposureProgram#=3 -ExposureCompensation=-0.67"));
    wxFrame frame(nullptr, wxID_ANY, "panel");
    auto* panel = new CExifInfoWnd(&frame);
    frame.SetClientSize(300, CExifInfoWnd::kHeight);
    panel->SetSize(0, 0, 300, CExifInfoWnd::kHeight);
    EXPECT_EQ(panel->GetId(), 140);
    EXPECT_EQ(panel->GetName(), "ExifInfoWnd");

    showFile(*panel, photo);
    const std::vector<CExifInfoWnd::DrawnText> drawn = panel->drawnTexts();
    ASSERT_EQ(drawn.size(), 7u);
    const auto expect = [&](std::size_t i, const char* text, wxRect box) {
        EXPECT_EQ(drawn[i].text, text) << i;
        EXPECT_EQ(drawn[i].box, box) << i;
    };
    expect(0, "Canon Canon EOS 5D", wxRect(10, 5, 230, 16));
    expect(1, "1/250 s", wxRect(245, 5, 55, 16));
    expect(2, "Focal length: 50.0 mm", wxRect(10, 21, 230, 16));
    expect(3, "f/5.6", wxRect(245, 21, 55, 16));
    expect(4, "Aperture priority", wxRect(10, 37, 230, 16));
    expect(5, "ISO: 400", wxRect(245, 37, 55, 16));
    expect(6, "Exposure bias: -0.67 eV", wxRect(10, 53, 230, 16));

    const wxImage image = drawnPanel(*panel);
    if (const std::string keep = shotPath("exif-panel.png"); !keep.empty()) {
        image.SaveFile(keep, wxBITMAP_TYPE_PNG);
    }
    EXPECT_EQ(image.GetRed(2, 2), 232);
    EXPECT_EQ(image.GetGreen(2, 72), 232);
    for (const CExifInfoWnd::DrawnText& text : drawn) {
        EXPECT_TRUE(hasInk(image, text.box)) << text.text;
    }
    EXPECT_FALSE(hasInk(image, wxRect(245, 53, 55, 16)));

    // Narrow: the long texts end in an ellipsis inside their column.
    panel->SetSize(0, 0, 150, CExifInfoWnd::kHeight);
    const std::vector<CExifInfoWnd::DrawnText> narrow = panel->drawnTexts();
    ASSERT_EQ(narrow.size(), 7u);
    EXPECT_TRUE(narrow[0].text.StartsWith("Canon")) << narrow[0].text;
    EXPECT_TRUE(narrow[0].text.EndsWith("...") ||
                narrow[0].text.EndsWith(wxString::FromUTF8("\xE2\x80\xA6")))
        << narrow[0].text;
    EXPECT_EQ(narrow[0].box, wxRect(10, 5, 80, 16));

    // No file, a file of another kind, a picture without EXIF: nothing to draw.
    showFile(*panel, "");
    EXPECT_TRUE(panel->drawnTexts().empty());
    std::filesystem::copy_file(photo, dir.file("photo.psd"));
    showFile(*panel, dir.file("photo.psd"));
    EXPECT_TRUE(panel->texts().make.empty());
    test::writeBytes(dir.file("plain.jpg"), test::encodeJpeg(8, 8));
    panel->setFile(photo);  // overtaken before its texts arrive
    showFile(*panel, dir.file("plain.jpg"));
    EXPECT_TRUE(panel->drawnTexts().empty());
}

wxString valueOf(const wxWindow& dialog, const char* name) {
    const auto* box = dynamic_cast<const wxTextCtrl*>(dialog.FindWindow(name));
    return box != nullptr ? box->GetValue() : wxString("(missing)");
}

std::vector<std::pair<wxString, wxString>> listRows(const wxWindow& dialog) {
    const auto* list =
        dynamic_cast<const wxDataViewListCtrl*>(dialog.FindWindow(CFilePropertyDlg::kExifList));
    std::vector<std::pair<wxString, wxString>> rows;
    if (list == nullptr) {
        return rows;
    }
    for (int row = 0; row < list->GetItemCount(); ++row) {
        rows.emplace_back(list->GetTextValue(row, 0), list->GetTextValue(row, 1));
    }
    return rows;
}

void click(CFilePropertyDlg& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

TEST(FilePropertyDlg, ListsThePhotosExifAndStepsThroughThePaths) {
    test::TempDir dir;
    const std::string photo = dir.file("photo.jpg");
    ASSERT_TRUE(test::writeJpegWithExif(
        photo,
        "-Make=Canon '-Model=Canon EOS 5D' -Orientation#=6 -YCbCrPositioning#=1"
        " -XResolution=72 -YResolution=72 -ResolutionUnit#=2"
        " -ExposureTime=1/250 -FNumber=5.6 -ISO=400 -ExifIFD:Flash#=16 -LightSource#=23"
        " -MeteringMode#=5 -FocalLength=50 -ExifVersion=0220"));
    const std::string text = dir.file("notes.txt");
    test::writeFile(text, std::string(1536, 'n'));
    const std::string gone = dir.file("gone.jpg");

    wxFrame frame(nullptr, wxID_ANY, "owner");
    auto* dialog = new CFilePropertyDlg(&frame, {photo, text, gone});
    dialog->Show();
    ASSERT_TRUE(test::waitFor([&] { return dialog->IsShownOnScreen(); }));
    const auto* list =
        dynamic_cast<wxDataViewListCtrl*>(dialog->FindWindow(CFilePropertyDlg::kExifList));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetColumn(0)->GetTitle(), "Property");
    EXPECT_EQ(list->GetColumn(1)->GetTitle(), "Value");
    const std::vector<std::pair<wxString, wxString>> expected = {
        {"Camera make", "Canon"},
        {"Camera model", "Canon EOS 5D"},
        {"Orientation", "Right top"},
        {"X resolution", "72.0"},
        {"Y resolution", "72.0"},
        {"Resolution unit", "Inch"},
        {"YCbCr Positioning", "Centered"},
        {"", ""},
        {"Exposure time", "1/250 s"},
        {"F-number", "f/5.6"},
        {"ISO speed", "400"},
        {"Components configuration", "YCbCr"},
        {"Metering mode", "Pattern"},
        {"Light source", "D50"},
        {"Flash", "Flash did not fire, compulsory flash mode"},
        {"Focal length", "50.0 mm"},
        {"Color space", "Uncalibrated"},
        {"", ""},
        {"Exif version", "2.2"},
        {"FlashPix version", "1.0"},
    };
    // exiftool adds resolutions, components, colour space and FlashPix version by itself.
    EXPECT_EQ(listRows(*dialog), expected);
    if (const std::string keep = shotPath("properties.png"); !keep.empty()) {
        test::grabScreen(keep);
    }
    EXPECT_EQ(valueOf(*dialog, CFilePropertyDlg::kNameValue), "photo.jpg");
    EXPECT_EQ(dialog->FindWindow(CFilePropertyDlg::kCounter)->GetLabel(), "1 of 3 files");
    EXPECT_FALSE(dialog->FindWindow(CFilePropertyDlg::kPrevId)->IsEnabled());

    click(*dialog, CFilePropertyDlg::kNextId);
    EXPECT_EQ(valueOf(*dialog, CFilePropertyDlg::kSizeValue), "1.50 KB (1,536 bytes)");
    EXPECT_EQ(listRows(*dialog), (std::vector<std::pair<wxString, wxString>>{{"", ""}, {"", ""}}));
    EXPECT_EQ(dialog->FindWindow(CFilePropertyDlg::kCounter)->GetLabel(), "2 of 3 files");
    EXPECT_TRUE(dialog->FindWindow(CFilePropertyDlg::kPrevId)->IsEnabled());
    EXPECT_TRUE(dialog->FindWindow(CFilePropertyDlg::kNextId)->IsEnabled());

    // A file gone from the disk keeps its name and folder, without size or dates.
    click(*dialog, CFilePropertyDlg::kNextId);
    EXPECT_EQ(valueOf(*dialog, CFilePropertyDlg::kNameValue), "gone.jpg");
    EXPECT_EQ(valueOf(*dialog, CFilePropertyDlg::kLocationValue), dir.path().string());
    EXPECT_EQ(valueOf(*dialog, CFilePropertyDlg::kSizeValue), "");
    EXPECT_EQ(valueOf(*dialog, CFilePropertyDlg::kModifiedValue), "");
    EXPECT_EQ(listRows(*dialog).size(), 2u);
    EXPECT_FALSE(dialog->FindWindow(CFilePropertyDlg::kNextId)->IsEnabled());
    click(*dialog, CFilePropertyDlg::kNextId);
    EXPECT_EQ(dialog->index(), 2);

    click(*dialog, CFilePropertyDlg::kPrevId);
    click(*dialog, CFilePropertyDlg::kPrevId);
    EXPECT_EQ(listRows(*dialog), expected);
    EXPECT_FALSE(dialog->FindWindow(CFilePropertyDlg::kPrevId)->IsEnabled());
    dialog->Destroy();
    test::flushEvents();
}

TEST(FilePropertyDlg, OnePathHidesTheStepping) {
    test::TempDir dir;
    test::writeFile(dir.file("one.txt"), "x");
    wxFrame frame(nullptr, wxID_ANY, "owner");
    auto* dialog = new CFilePropertyDlg(&frame, {dir.file("one.txt")});
    EXPECT_FALSE(dialog->FindWindow(CFilePropertyDlg::kPrevId)->IsShown());
    EXPECT_FALSE(dialog->FindWindow(CFilePropertyDlg::kNextId)->IsShown());
    EXPECT_FALSE(dialog->FindWindow(CFilePropertyDlg::kCounter)->IsShown());
    EXPECT_EQ(valueOf(*dialog, CFilePropertyDlg::kSizeValue), "1 byte (1 byte)");
    EXPECT_EQ(listRows(*dialog).size(), 2u);
    dialog->Destroy();
    test::flushEvents();
}

}  // namespace
}  // namespace tarn
