#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/settings.h"
#include "common/text_format.h"
#include "dialogs/dlg_open_file.h"
#include "dialogs/dlg_query_save.h"
#include "dialogs/dlg_save_file.h"
#include "dialogs/image_info_panel.h"
#include "fakes/temp_dir.h"
#include "imaging/image_fixtures.h"
#include "imaging/imaging_service.h"
#include "screen_grab.h"
#include "ui_test_support.h"

namespace tarn {
namespace {

// Runs the dialog modally and calls step from inside its loop every 50 ms until step says it
// is done (it ends the dialog itself). A dialog still open after ten seconds, whether step never
// got done or what it did never reached the dialog, is ended with -1.
int runModal(wxDialog& dialog, const std::function<bool()>& step) {
    wxTimer timer;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool done = false;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!dialog.IsModal()) {
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            timer.Stop();
            dialog.EndModal(-1);
        } else if (!done) {
            done = step();
        }
    });
    timer.Start(50);
    const int result = dialog.ShowModal();
    timer.Stop();
    return result;
}

void pressButton(wxWindow& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

// What the screen shows now; also kept in the file named by the environment variable, if set.
wxImage screenShot(const char* variable) {
    const char* kept = std::getenv(variable);
    const wxImage shot = test::grabScreen(kept != nullptr ? kept : "");
    EXPECT_TRUE(shot.IsOk()) << "could not capture the screen";
    return shot;
}

// A save-changes dialog whose save-as step answers without the platform's chooser.
class ScriptedQuerySave : public CDlgQuerySave {
public:
    using CDlgQuerySave::CDlgQuerySave;
    std::string answer;  // empty: the save dialog was cancelled
    int saveAsRuns = 0;

protected:
    bool runSaveAs(std::string& chosen) override {
        ++saveAsRuns;
        chosen = answer;
        return !answer.empty();
    }
};

class QuerySaveDialog : public testing::Test {
protected:
    ImagingService m_imaging;
    fipSuperImage m_image = test::pictureImage(20, 10);
};

TEST_F(QuerySaveDialog, EachButtonEndsWithItsResult) {
    for (const int id : {CDlgQuerySave::kSave, CDlgQuerySave::kDiscard, CDlgQuerySave::kCancel}) {
        CDlgQuerySave dialog(nullptr, "/tmp/photo.png", m_image);
        const int result = runModal(dialog, [&] {
            pressButton(dialog, id);
            return true;
        });
        EXPECT_EQ(result, id);
        EXPECT_EQ(dialog.chosenPath(), "");
    }
}

TEST_F(QuerySaveDialog, LooksAsDesigned) {
    CDlgQuerySave dialog(nullptr, "/tmp/photo.png", m_image);
    EXPECT_EQ(dialog.GetTitle(), "Save Changes");
    const struct {
        int id;
        const char* label;
    } buttons[] = {{1000, "&Save"}, {1001, "Save &As..."}, {1002, "&Discard"}, {2, "&Cancel"}};
    int lastX = -1;
    for (const auto& expected : buttons) {
        auto* button = dynamic_cast<wxButton*>(dialog.FindWindow(expected.id));
        ASSERT_NE(button, nullptr) << expected.label;
        EXPECT_EQ(button->GetLabel(), expected.label);
        EXPECT_GT(button->GetPosition().x, lastX);  // one row, in this order
        lastX = button->GetPosition().x;
    }
    bool iconFound = false;
    bool textFound = false;
    for (wxWindow* child : dialog.GetChildren()) {
        if (auto* icon = dynamic_cast<wxStaticBitmap*>(child)) {
            iconFound = icon->GetBitmap().IsOk() && child->GetPosition() == wxPoint(10, 10);
        }
        if (auto* text = dynamic_cast<wxStaticText*>(child)) {
            textFound =
                text->GetLabel() == "Do you want to save the changes you've made to this image?";
            // The text fits inside the dialog.
            EXPECT_LE(text->GetRect().GetRight(), dialog.GetClientSize().x);
        }
    }
    EXPECT_TRUE(iconFound);
    EXPECT_TRUE(textFound);
}

TEST_F(QuerySaveDialog, WarningIconIsDrawnAtTheTopLeft) {
    CDlgQuerySave dialog(nullptr, "/tmp/photo.png", m_image);
    wxImage seen;
    wxPoint origin;
    int turns = 0;
    runModal(dialog, [&] {
        if (!dialog.IsShownOnScreen() || ++turns < 6) {
            return false;
        }
        origin = dialog.ClientToScreen(wxPoint(0, 0));
        seen = screenShot("TARN_QUERY_SAVE_SCREENSHOT");
        dialog.EndModal(CDlgQuerySave::kCancel);
        return true;
    });
    ASSERT_TRUE(seen.IsOk());
    // Some pixel of the icon's square differs from the dialog's background left of it.
    const wxColour background(seen.GetRed(origin.x + 3, origin.y + 20),
                              seen.GetGreen(origin.x + 3, origin.y + 20),
                              seen.GetBlue(origin.x + 3, origin.y + 20));
    int differing = 0;
    for (int y = 10; y < 42; ++y) {
        for (int x = 10; x < 42; ++x) {
            const int px = origin.x + x;
            const int py = origin.y + y;
            differing += wxColour(seen.GetRed(px, py), seen.GetGreen(px, py),
                                  seen.GetBlue(px, py)) != background;
        }
    }
    EXPECT_GT(differing, 100);
}

TEST_F(QuerySaveDialog, EscapeAndClosingCancel) {
    {
        CDlgQuerySave dialog(nullptr, "/tmp/photo.png", m_image);
        const int result = runModal(dialog, [&] {
            if (!dialog.IsShownOnScreen()) {
                return false;
            }
            dialog.FindWindow(CDlgQuerySave::kSave)->SetFocus();
            wxUIActionSimulator().Char(WXK_ESCAPE);
            return true;
        });
        EXPECT_EQ(result, CDlgQuerySave::kCancel);
    }
    {
        CDlgQuerySave dialog(nullptr, "/tmp/photo.png", m_image);
        const int result = runModal(dialog, [&] {
            dialog.Close();
            return true;
        });
        EXPECT_EQ(result, CDlgQuerySave::kCancel);
    }
}

TEST_F(QuerySaveDialog, SaveAsGivesThePathOrCancels) {
    {
        ScriptedQuerySave dialog(nullptr, "/tmp/photo.png", m_image);
        const int result = runModal(dialog, [&] {
            pressButton(dialog, CDlgQuerySave::kSaveAs);
            return true;
        });
        EXPECT_EQ(dialog.saveAsRuns, 1);
        EXPECT_EQ(result, CDlgQuerySave::kCancel);
        EXPECT_EQ(dialog.chosenPath(), "");
    }
    {
        ScriptedQuerySave dialog(nullptr, "/tmp/photo.png", m_image);
        dialog.answer = "/tmp/other.jpg";
        const int result = runModal(dialog, [&] {
            pressButton(dialog, CDlgQuerySave::kSaveAs);
            return true;
        });
        EXPECT_EQ(result, CDlgQuerySave::kSaveAs);
        EXPECT_EQ(dialog.chosenPath(), "/tmp/other.jpg");
    }
}

// Notes every modal dialog that starts; native choosers are not in the top-level list.
// A message box can be answered here before it shows.
class ModalWatch : public wxModalDialogHook {
public:
    ModalWatch() { Register(); }
    ~ModalWatch() override { Unregister(); }
    wxDialog* latest = nullptr;
    int messageAnswer = wxID_NONE;
    int messagesAsked = 0;

protected:
    int Enter(wxDialog* dialog) override {
        if (dynamic_cast<wxMessageDialog*>(dialog) != nullptr) {
            ++messagesAsked;
            return messageAnswer;
        }
        latest = dialog;
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override {
        if (latest == dialog) {
            latest = nullptr;
        }
    }
};

// The real save dialog, cancelled in the chooser, makes the whole answer a cancel.
TEST_F(QuerySaveDialog, CancelledChooserCancels) {
    test::TempDir dir;
    CDlgQuerySave dialog(nullptr, dir.file("photo.png"), m_image);
    ModalWatch watch;
    bool chooserSeen = false;
    wxTimer closer;
    closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (auto* chooser = dynamic_cast<CDlgSaveFile*>(watch.latest)) {
            chooserSeen = true;
            // The type list starts at the picture's own type.
            EXPECT_EQ(chooser->currentTypeExtension(), "png");
            EXPECT_EQ(chooser->nameBoxText(), "photo.png");
            chooser->EndModal(wxID_CANCEL);
            closer.Stop();
        }
    });
    closer.Start(100);
    const int result = runModal(dialog, [&] {
        pressButton(dialog, CDlgQuerySave::kSaveAs);
        return true;
    });
    closer.Stop();
    EXPECT_TRUE(chooserSeen);
    EXPECT_EQ(result, CDlgQuerySave::kCancel);
    EXPECT_EQ(dialog.chosenPath(), "");
}

// Accepts the chooser the way its own Save button does.
void accept(wxFileDialog& chooser) {
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    ok.SetEventObject(&chooser);
    chooser.GetEventHandler()->ProcessEvent(ok);
}

TEST_F(QuerySaveDialog, ChosenPathComesFromTheChooser) {
    test::TempDir dir;
    CDlgQuerySave dialog(nullptr, dir.file("photo.png"), m_image);
    ModalWatch watch;
    wxTimer saver;
    bool typed = false;
    saver.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        auto* chooser = dynamic_cast<CDlgSaveFile*>(watch.latest);
        if (chooser == nullptr || !chooser->IsModal()) {
            return;
        }
        if (!typed) {
            chooser->setNameBoxText("copy.png");
            typed = true;
        } else if (!chooser->GetPath().empty()) {  // the chooser has taken the name in
            saver.Stop();
            accept(*chooser);
        }
    });
    saver.Start(100);
    const int result = runModal(dialog, [&] {
        pressButton(dialog, CDlgQuerySave::kSaveAs);
        return true;
    });
    EXPECT_EQ(result, CDlgQuerySave::kSaveAs);
    EXPECT_EQ(dialog.chosenPath(), dir.file("copy.png"));
}

const std::string kSaveFilter =
    "Windows or OS/2 Bitmap (*.bmp)|*.bmp|"
    "Independent JPEG Group (*.jpg;*.jif;*.jpeg;*.jpe)|*.jpg;*.jif;*.jpeg;*.jpe|"
    "Portable Network Graphics (*.png)|*.png|"
    "Tagged Image File Format (*.tif;*.tiff)|*.tif;*.tiff";

TEST(SaveFileDialog, PreselectsTheInitialNamesType) {
    test::TempDir dir;
    CDlgSaveFile dialog(nullptr, dir.file("photo.png"), kSaveFilter);
    EXPECT_EQ(dialog.GetFilterIndex(), 2);
    EXPECT_EQ(dialog.currentTypeExtension(), "png");
    CDlgSaveFile unnamed(nullptr, "", kSaveFilter);
    EXPECT_EQ(unnamed.GetFilterIndex(), 0);
}

TEST(SaveFileDialog, ChangingTheTypeRenamesTheNameBox) {
    test::TempDir dir;
    CDlgSaveFile dialog(nullptr, dir.file("photo.png"), kSaveFilter);
    std::vector<std::string> names;
    int step = 0;
    const int result = runModal(dialog, [&] {
        switch (step++) {
            case 0:
                names.push_back(dialog.nameBoxText());
                dialog.SetFilterIndex(1);  // JPEG
                return false;
            case 1:
                names.push_back(dialog.nameBoxText());
                dialog.setNameBoxText("");
                dialog.SetFilterIndex(3);  // TIFF
                return false;
            case 2:
                names.push_back(dialog.nameBoxText());
                dialog.setNameBoxText("Summer.TIF");
                dialog.SetFilterIndex(0);  // BMP
                return false;
            default:
                names.push_back(dialog.nameBoxText());
                if (std::getenv("TARN_SAVE_DIALOG_SCREENSHOT") != nullptr) {
                    screenShot("TARN_SAVE_DIALOG_SCREENSHOT");
                }
                dialog.EndModal(wxID_CANCEL);
                return true;
        }
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(names, (std::vector<std::string>{"photo.png", "photo.jpg", ".tif", "Summer.bmp"}));
}

// Runs the chooser, typing the name and accepting it on the first showing and cancelling any
// later one; gives how often it was shown.
int typeAndAccept(CDlgSaveFile& dialog, int type, const std::string& name, int& result) {
    int shown = 0;
    enum { kChoosingType, kTyping, kAccepting, kAccepted } state = kChoosingType;
    result = runModal(dialog, [&] {
        switch (state) {
            case kChoosingType:
                // The chooser reports the type change on its own time: the name comes a tick
                // later, so the change cannot rename it after it was typed.
                ++shown;
                dialog.SetFilterIndex(type);
                state = kTyping;
                return false;
            case kTyping:
                dialog.setNameBoxText(name);
                state = kAccepting;
                return false;
            case kAccepting:
                if (!dialog.GetPath().empty()) {  // the chooser has taken the name in
                    state = kAccepted;
                    accept(dialog);
                }
                return false;
            case kAccepted:
                // Shown again after a "no" to replacing.
                ++shown;
                dialog.EndModal(wxID_CANCEL);
                return true;
        }
        return true;
    });
    return shown;
}

TEST(SaveFileDialog, NameWithoutExtensionGetsTheChosenTypes) {
    test::TempDir dir;
    CDlgSaveFile dialog(nullptr, dir.file("photo.png"), kSaveFilter);
    int result = 0;
    EXPECT_EQ(typeAndAccept(dialog, 1, "holiday", result), 1);
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.path(), dir.file("holiday.jpg"));
}

TEST(SaveFileDialog, AddedExtensionAsksBeforeReplacing) {
    test::TempDir dir;
    test::writeFile(dir.file("holiday.jpg"), "keep me");
    {
        ModalWatch answers;
        answers.messageAnswer = wxID_NO;
        CDlgSaveFile dialog(nullptr, dir.file("photo.png"), kSaveFilter);
        int result = 0;
        // "No" goes back to the chooser, which is then cancelled.
        EXPECT_EQ(typeAndAccept(dialog, 1, "holiday", result), 2);
        EXPECT_EQ(answers.messagesAsked, 1);
        EXPECT_EQ(result, wxID_CANCEL);
    }
    {
        ModalWatch answers;
        answers.messageAnswer = wxID_YES;
        CDlgSaveFile dialog(nullptr, dir.file("photo.png"), kSaveFilter);
        int result = 0;
        EXPECT_EQ(typeAndAccept(dialog, 1, "holiday", result), 1);
        EXPECT_EQ(answers.messagesAsked, 1);
        EXPECT_EQ(result, wxID_OK);
        EXPECT_EQ(dialog.path(), dir.file("holiday.jpg"));
    }
    EXPECT_EQ(test::readFile(dir.file("holiday.jpg")), "keep me");
}

class InfoPanel : public testing::Test {
protected:
    InfoPanel() : m_settings(m_dir.file("Config.ini")) {
        m_frame = new wxFrame(nullptr, wxID_ANY, "panel", wxDefaultPosition, wxSize(700, 300));
        m_jpeg = m_dir.file("holiday.jpg");
        test::writeBytes(m_jpeg, test::encodeJpeg(640, 480));
    }
    ~InfoPanel() override { m_frame->Destroy(); }

    CImageInfoPanel* makePanel() {
        auto* panel = new CImageInfoPanel(m_frame, m_settings);
        test::showAndWait(m_frame);
        return panel;
    }

    static void click(wxCheckBox* box, bool checked) {
        box->SetValue(checked);
        wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
        event.SetEventObject(box);
        event.SetInt(checked ? 1 : 0);
        box->GetEventHandler()->ProcessEvent(event);
    }

    static void expectUnavailable(const CImageInfoPanel& panel) {
        EXPECT_EQ(panel.formatLabel()->GetLabel(), "Unavailable");
        EXPECT_TRUE(panel.formatLabel()->IsShown());
        for (wxWindow* hidden : std::initializer_list<wxWindow*>{
                 panel.formatValue(), panel.sizeLabel(), panel.sizeValue(), panel.widthLabel(),
                 panel.widthValue(), panel.heightLabel(), panel.heightValue()}) {
            EXPECT_FALSE(hidden->IsShown()) << hidden->GetLabel();
        }
        EXPECT_FALSE(panel.previewBox()->IsShown());
    }

    ImagingService m_imaging;
    test::TempDir m_dir;
    SettingsStore m_settings;
    wxFrame* m_frame;
    std::string m_jpeg;
};

TEST_F(InfoPanel, StartsUnavailableWithTheGroupAndCheckBox) {
    CImageInfoPanel* panel = makePanel();
    EXPECT_EQ(panel->group()->GetLabel(), "Image Information");
    EXPECT_EQ(panel->showPreviewBox()->GetLabel(), "Show preview");
    EXPECT_TRUE(panel->showPreviewBox()->GetValue());  // the setting's default
    expectUnavailable(*panel);
}

TEST_F(InfoPanel, JpegShowsFormatSizeDimensionsAndACentredPreview) {
    CImageInfoPanel* panel = makePanel();
    panel->showFile(m_jpeg);
    test::pumpEvents();
    EXPECT_EQ(panel->formatLabel()->GetLabel(), "Format:");
    EXPECT_EQ(panel->formatValue()->GetLabel(), "JPEG");
    EXPECT_EQ(panel->sizeLabel()->GetLabel(), "Size:");
    EXPECT_EQ(panel->sizeValue()->GetLabel(), sizeText(std::filesystem::file_size(m_jpeg)));
    EXPECT_EQ(panel->widthValue()->GetLabel(), "640");
    EXPECT_EQ(panel->heightValue()->GetLabel(), "480");
    for (wxWindow* shown : std::initializer_list<wxWindow*>{
             panel->formatValue(), panel->sizeLabel(), panel->sizeValue(), panel->widthLabel(),
             panel->widthValue(), panel->heightLabel(), panel->heightValue()}) {
        EXPECT_TRUE(shown->IsShown());
    }

    // The preview fits the area, keeps the picture's shape and sits in the middle of the area
    // to the right of the group.
    ASSERT_TRUE(panel->previewBox()->IsShown());
    const wxSize area = panel->previewArea();
    const wxBitmap bitmap = panel->previewBox()->GetBitmap();
    EXPECT_EQ(bitmap.GetWidth() == area.x || bitmap.GetHeight() == area.y, true);
    EXPECT_LE(bitmap.GetWidth(), area.x);
    EXPECT_LE(bitmap.GetHeight(), area.y);
    EXPECT_NEAR(bitmap.GetWidth() * 480.0 / 640.0, bitmap.GetHeight(), 1.0);
    const wxRect box = panel->previewBox()->GetRect();
    const int areaLeft = panel->group()->GetRect().GetRight() + 1 + 20;
    const int areaTop = panel->group()->GetPosition().y;
    EXPECT_NEAR(box.x + box.width / 2.0, areaLeft + area.x / 2.0, 1.5);
    EXPECT_NEAR(box.y + box.height / 2.0, areaTop + area.y / 2.0, 1.5);
}

TEST_F(InfoPanel, FoldersUnknownFilesAndNoSelectionAreUnavailable) {
    CImageInfoPanel* panel = makePanel();
    const std::string folder = m_dir.file("album.jpg");
    std::filesystem::create_directory(folder);
    const std::string text = m_dir.file("readme.png");
    test::writeFile(text, "plain words");
    for (const std::string& path : {folder, text, std::string()}) {
        panel->showFile(m_jpeg);
        ASSERT_EQ(panel->formatValue()->GetLabel(), "JPEG");
        panel->showFile(path);
        SCOPED_TRACE(path);
        expectUnavailable(*panel);
    }
}

TEST_F(InfoPanel, PreviewOffKeepsTheBoxHiddenUntilCheckedThenStoresTheChoice) {
    m_settings.set(settings::kShowPreview, false);
    CImageInfoPanel* panel = makePanel();
    EXPECT_FALSE(panel->showPreviewBox()->GetValue());
    panel->showFile(m_jpeg);
    EXPECT_FALSE(panel->previewBox()->IsShown());
    EXPECT_FALSE(panel->hasPreview());
    // The information is still there, its size read from the file.
    EXPECT_EQ(panel->widthValue()->GetLabel(), "640");
    EXPECT_EQ(panel->heightValue()->GetLabel(), "480");

    click(panel->showPreviewBox(), true);
    EXPECT_TRUE(panel->hasPreview());
    EXPECT_TRUE(panel->previewBox()->IsShown());
    EXPECT_NE(test::readFile(m_settings.path()).find("ShowPreview=1"), std::string::npos);

    click(panel->showPreviewBox(), false);
    EXPECT_FALSE(panel->previewBox()->IsShown());
    EXPECT_NE(test::readFile(m_settings.path()).find("ShowPreview=0"), std::string::npos);
    EXPECT_FALSE(m_settings.get(settings::kShowPreview));

    // Checking it again shows the preview it already has.
    click(panel->showPreviewBox(), true);
    EXPECT_TRUE(panel->previewBox()->IsShown());
}

TEST_F(InfoPanel, PreviewOfAnEarlierFileDoesNotComeBack) {
    CImageInfoPanel* panel = makePanel();
    panel->showFile(m_jpeg);
    ASSERT_TRUE(panel->hasPreview());
    click(panel->showPreviewBox(), false);
    const std::string png = m_dir.file("small.png");
    ASSERT_TRUE(test::pictureImage(30, 60).save(FIF_PNG, png.c_str()));
    panel->showFile(png);
    click(panel->showPreviewBox(), true);
    ASSERT_TRUE(panel->hasPreview());
    // A picture smaller than the area is shown at its own size, never enlarged.
    EXPECT_EQ(panel->previewBox()->GetBitmap().GetWidth(), 30);
    EXPECT_EQ(panel->previewBox()->GetBitmap().GetHeight(), 60);
}

TEST(OpenFileDialog, SelectingAFileFillsThePanelAndDrawsThePreview) {
    ImagingService imaging;
    test::TempDir dir;
    SettingsStore settings(dir.file("Config.ini"));
    const std::string jpeg = dir.file("beach.jpg");
    test::writeBytes(jpeg, test::encodeJpeg(300, 200));
    CDlgOpenFile dialog(nullptr, settings, fipSuperImage::getOpenFileFilter(), dir.path().string());
    std::string format;
    std::string width;
    wxImage seen;
    wxRect previewOnScreen;
    bool checkBoxFits = false;
    int step = 0;
    const int result = runModal(dialog, [&] {
        CImageInfoPanel* panel = dialog.infoPanel();
        if (panel == nullptr) {
            return false;
        }
        if (step == 0) {
            dialog.SetPath(wxString::FromUTF8(jpeg));
            step = 1;
            return false;
        }
        const bool ready = panel->currentPath() == jpeg && panel->previewBox()->IsShownOnScreen() &&
                           panel->GetSize().x >= panel->GetMinSize().x;
        if (!ready || ++step < 20) {
            return false;  // then a few more turns for the chooser to draw
        }
        format = panel->formatValue()->GetLabel().utf8_string();
        width = panel->widthValue()->GetLabel().utf8_string();
        previewOnScreen = panel->previewBox()->GetScreenRect();
        checkBoxFits = panel->showPreviewBox()->GetRect().GetRight() < panel->GetSize().x;
        seen = screenShot("TARN_OPEN_DIALOG_SCREENSHOT");
        dialog.EndModal(wxID_CANCEL);
        return true;
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(format, "JPEG");
    EXPECT_EQ(width, "300");
    // The chooser shares its bottom row with the type list; the panel gets all it needs.
    EXPECT_TRUE(checkBoxFits);
    ASSERT_TRUE(seen.IsOk());
    ASSERT_FALSE(previewOnScreen.IsEmpty());
    // The picture runs from dark red at its left to bright red at its right.
    const int y = previewOnScreen.y + previewOnScreen.height / 2;
    const int left = seen.GetRed(previewOnScreen.x + 4, y);
    const int right = seen.GetRed(previewOnScreen.GetRight() - 4, y);
    EXPECT_LT(left, 60);
    EXPECT_GT(right, 190);
}

TEST(OpenFileDialog, FolderSelectionIsUnavailableAndPreviewOffStaysOff) {
    ImagingService imaging;
    test::TempDir dir;
    SettingsStore settings(dir.file("Config.ini"));
    settings.set(settings::kShowPreview, false);
    const std::string jpeg = dir.file("beach.jpg");
    test::writeBytes(jpeg, test::encodeJpeg(300, 200));
    const std::string folder = dir.file("trip");
    std::filesystem::create_directory(folder);
    CDlgOpenFile dialog(nullptr, settings, fipSuperImage::getOpenFileFilter(), dir.path().string());
    bool previewShownWhileOff = true;
    std::string formatLabel;
    int step = 0;
    const int result = runModal(dialog, [&] {
        CImageInfoPanel* panel = dialog.infoPanel();
        if (panel == nullptr) {
            return false;
        }
        switch (step) {
            case 0:
                dialog.SetPath(wxString::FromUTF8(jpeg));
                step = 1;
                return false;
            case 1:
                if (panel->currentPath() != jpeg) {
                    return false;
                }
                previewShownWhileOff = panel->previewBox()->IsShown() || panel->hasPreview();
                dialog.SetPath(wxString::FromUTF8(folder));
                step = 2;
                return false;
            default:
                if (panel->currentPath() != folder) {
                    return false;
                }
                formatLabel = panel->formatLabel()->GetLabel().utf8_string();
                dialog.EndModal(wxID_CANCEL);
                return true;
        }
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_FALSE(previewShownWhileOff);
    EXPECT_EQ(formatLabel, "Unavailable");
}

}  // namespace
}  // namespace tarn
