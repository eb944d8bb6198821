#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <filesystem>

#include "common/text_format.h"
#include "desktop/image_printout.h"
#include "desktop/print_rules.h"
#include "desktop/psd_fixture.h"
#include "dialogs/file_property_dlg.h"
#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "ui_test_support.h"

namespace tarn {
namespace {

// The page as the printer would get it: a white sheet of width x height device pixels.
wxImage printedPage(ImagePrintout& printout, int width, int height) {
    wxBitmap sheet(width, height, 24);
    {
        wxMemoryDC dc(sheet);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        printout.SetDC(&dc);
        printout.SetPageSizePixels(width, height);
        printout.SetPPIPrinter(96, 96);
        printout.SetPPIScreen(96, 96);
        printout.SetPaperRectPixels(wxRect(0, 0, width, height));
        printout.OnPreparePrinting();
        printout.OnBeginPrinting();
        EXPECT_TRUE(printout.OnPrintPage(1));
        printout.OnEndPrinting();
        printout.SetDC(nullptr);
    }
    return sheet.ConvertToImage();
}

bool isColour(const wxImage& page, int x, int y, int red, int green, int blue) {
    return std::abs(page.GetRed(x, y) - red) <= 2 && std::abs(page.GetGreen(x, y) - green) <= 2 &&
           std::abs(page.GetBlue(x, y) - blue) <= 2;
}

#define EXPECT_COLOUR(page, x, y, r, g, b)                                     \
    EXPECT_TRUE(isColour(page, x, y, r, g, b))                                 \
        << "at " << (x) << "," << (y) << ": " << int(page.GetRed(x, y)) << "," \
        << int(page.GetGreen(x, y)) << "," << int(page.GetBlue(x, y))

TEST(ImagePrintout, FillsThePageCentredWithItsAspectKept) {
    // A wide picture, left half red and right half blue, on a tall page.
    fipSuperImage wide;
    wide = FreeImage_Allocate(40, 10, 24);
    for (unsigned x = 0; x < 40; ++x) {
        for (unsigned y = 0; y < 10; ++y) {
            RGBQUAD colour = x < 20 ? RGBQUAD{0, 0, 255, 0} : RGBQUAD{255, 0, 0, 0};
            wide.setPixelColor(x, y, &colour);
        }
    }
    ImagePrintout printout(wide, "wide");
    ASSERT_TRUE(printout.IsOk());
    int minPage = 0, maxPage = 0, from = 0, to = 0;
    printout.GetPageInfo(&minPage, &maxPage, &from, &to);
    EXPECT_EQ(maxPage, 1);
    EXPECT_FALSE(printout.HasPage(2));

    // 400 wide: the picture is enlarged to 400 x 100 and sits in the middle of 300 rows.
    const wxImage page = printedPage(printout, 400, 300);
    EXPECT_COLOUR(page, 100, 150, 255, 0, 0);
    EXPECT_COLOUR(page, 300, 150, 0, 0, 255);
    EXPECT_COLOUR(page, 5, 105, 255, 0, 0);
    EXPECT_COLOUR(page, 395, 195, 0, 0, 255);
    // Margins above and below stay paper.
    EXPECT_COLOUR(page, 200, 90, 255, 255, 255);
    EXPECT_COLOUR(page, 200, 210, 255, 255, 255);
    EXPECT_COLOUR(page, 5, 5, 255, 255, 255);
    EXPECT_COLOUR(page, 395, 295, 255, 255, 255);

    // A big picture is shrunk the same way: 2000 x 500 on the same page.
    ImagePrintout large(test::pictureImage(2000, 500), "large");
    const wxImage shrunk = printedPage(large, 400, 300);
    EXPECT_COLOUR(shrunk, 200, 90, 255, 255, 255);
    EXPECT_FALSE(isColour(shrunk, 200, 150, 255, 255, 255));
}

TEST(ImagePrintout, APhotoshopFilePrintsFromItsBitmapCopy) {
    test::TempDir dir;
    const std::string psd = dir.file("poster.psd");
    // Taller than wide, so the margins are left and right.
    test::writeFlatPsd(psd, 10, 30, 60, 160, 30);
    ASSERT_EQ(FreeImage_GetFileType(psd.c_str(), 0), FIF_PSD);
    const std::string printed = fileToPrint(psd, dir.file("Temp"));
    ASSERT_EQ(printed, dir.file("Temp/$poster.bmp"));

    fipSuperImage copy;
    ASSERT_TRUE(copy.load(printed.c_str()));
    ImagePrintout printout(copy, "poster");
    const wxImage page = printedPage(printout, 300, 300);
    EXPECT_COLOUR(page, 150, 150, 60, 160, 30);
    EXPECT_COLOUR(page, 150, 5, 60, 160, 30);
    EXPECT_COLOUR(page, 40, 150, 255, 255, 255);
    EXPECT_COLOUR(page, 260, 150, 255, 255, 255);
}

wxString valueText(const wxWindow& dialog, const char* name) {
    const auto* value = dynamic_cast<const wxTextCtrl*>(dialog.FindWindow(name));
    return value != nullptr ? value->GetValue() : wxString("(missing)");
}

TEST(FilePropertyDlg, ShowsFilesAndFoldersAndStepsBetweenThem) {
    test::TempDir dir;
    const std::string photo = dir.file("photo.jpg");
    test::writeFile(photo, std::string(1234567, 'x'));
    std::filesystem::create_directories(dir.path() / "album/inner");
    test::writeFile(dir.file("album/a"), std::string(2000, 'x'));
    test::writeFile(dir.file("album/inner/b"), std::string(500, 'x'));

    wxFrame frame(nullptr, wxID_ANY, "owner");
    auto* dialog = new CFilePropertyDlg(&frame, {photo, dir.file("album")}, 0);
    EXPECT_EQ(dialog->GetTitle(), "Properties");
    EXPECT_EQ(valueText(*dialog, CFilePropertyDlg::kNameValue), "photo.jpg");
    EXPECT_EQ(valueText(*dialog, CFilePropertyDlg::kLocationValue), dir.path().string());
    EXPECT_EQ(valueText(*dialog, CFilePropertyDlg::kSizeValue), "1.18 MB (1,234,567 bytes)");
    const FileProperties& shown = dialog->properties();
    EXPECT_EQ(valueText(*dialog, CFilePropertyDlg::kModifiedValue),
              wxString(dateTimeText(*shown.modified)));
    EXPECT_EQ(valueText(*dialog, CFilePropertyDlg::kCreatedValue),
              wxString(shown.created ? dateTimeText(*shown.created) : ""));

    auto* prev = dynamic_cast<wxButton*>(dialog->FindWindow(CFilePropertyDlg::kPrevId));
    auto* next = dynamic_cast<wxButton*>(dialog->FindWindow(CFilePropertyDlg::kNextId));
    ASSERT_NE(prev, nullptr);
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(prev->IsShown());
    EXPECT_FALSE(prev->IsEnabled());
    EXPECT_TRUE(next->IsEnabled());

    wxCommandEvent click(wxEVT_BUTTON, CFilePropertyDlg::kNextId);
    click.SetEventObject(next);
    next->GetEventHandler()->ProcessEvent(click);
    EXPECT_EQ(dialog->index(), 1);
    EXPECT_EQ(valueText(*dialog, CFilePropertyDlg::kNameValue), "album");
    EXPECT_TRUE(prev->IsEnabled());
    EXPECT_FALSE(next->IsEnabled());
    // The folder's size is counted apart and shows up when ready.
    EXPECT_TRUE(test::waitFor([&] {
        return valueText(*dialog, CFilePropertyDlg::kSizeValue) == "2.44 KB (2,500 bytes)";
    })) << valueText(*dialog, CFilePropertyDlg::kSizeValue);

    wxCommandEvent back(wxEVT_BUTTON, CFilePropertyDlg::kPrevId);
    back.SetEventObject(prev);
    prev->GetEventHandler()->ProcessEvent(back);
    EXPECT_EQ(valueText(*dialog, CFilePropertyDlg::kNameValue), "photo.jpg");
    EXPECT_EQ(valueText(*dialog, CFilePropertyDlg::kSizeValue), "1.18 MB (1,234,567 bytes)");
    dialog->Destroy();
    test::flushEvents();
}

TEST(FilePropertyDlg, OnePathHasNoStepping_AndAFolderLeftMidCountKeepsTheNewText) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "album");
    test::writeFile(dir.file("album/a"), std::string(3000, 'x'));
    test::writeFile(dir.file("small.txt"), "abc");

    wxFrame frame(nullptr, wxID_ANY, "owner");
    auto* single = new CFilePropertyDlg(&frame, {dir.file("album")}, 5);
    EXPECT_FALSE(single->FindWindow(CFilePropertyDlg::kPrevId)->IsShown());
    EXPECT_FALSE(single->FindWindow(CFilePropertyDlg::kNextId)->IsShown());
    EXPECT_EQ(single->index(), 0);
    EXPECT_TRUE(test::waitFor([&] {
        return valueText(*single, CFilePropertyDlg::kSizeValue) == "2.93 KB (3,000 bytes)";
    }));
    single->Destroy();

    // Stepping away from a folder before its count arrives: the file's size stays shown.
    auto* stepping = new CFilePropertyDlg(&frame, {dir.file("album"), dir.file("small.txt")}, 0);
    wxCommandEvent click(wxEVT_BUTTON, CFilePropertyDlg::kNextId);
    stepping->FindWindow(CFilePropertyDlg::kNextId)->GetEventHandler()->ProcessEvent(click);
    EXPECT_EQ(valueText(*stepping, CFilePropertyDlg::kSizeValue), "3 bytes (3 bytes)");
    stepping->waitForCounts();
    test::flushEvents();
    EXPECT_EQ(valueText(*stepping, CFilePropertyDlg::kSizeValue), "3 bytes (3 bytes)");
    stepping->Destroy();
    test::flushEvents();
}

}  // namespace
}  // namespace tarn
