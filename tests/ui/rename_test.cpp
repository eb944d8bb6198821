// Renaming in place in the thumbnail list and the folder tree, and the rename dialog.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/system_image_lists.h"
#include "browser/image_list_ctrl.h"
#include "browser/shell_tree.h"
#include "dialogs/dlg_rename.h"
#include "fakes/fake_mount_table.h"
#include "fakes/fake_special_folders.h"
#include "fakes/temp_dir.h"
#include "platform/shell_namespace.h"
#include "ui_test_support.h"
#include "widgets/file_name_edit.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using platform::ItemIdList;
using platform::ShellNamespace;
using test::flushEvents;
using test::waitFor;
using test::writeFile;

// Answers every message box at once and keeps what it said.
class MessageWatch : public wxModalDialogHook {
public:
    MessageWatch() { Register(); }
    ~MessageWatch() override { Unregister(); }
    std::vector<std::string> messages;

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
            messages.push_back(box->GetMessage().utf8_string());
            return wxID_OK;
        }
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

// The keyboard goes to the frame; a window manager that ran before may have left the input
// focus elsewhere.
void takeKeyboard(wxTopLevelWindow* frame) {
    frame->Raise();
    waitFor([&] { return frame->IsActive(); }, 2000);
}

// Real key presses into a window, as a person types them.
void typeInto(wxWindow* window, const std::string& keys) {
    wxUIActionSimulator sim;
    // Without a window manager the keyboard follows the pointer.
    sim.MouseMove(window->GetScreenRect().GetLeftTop() + wxPoint(4, 4));
    flushEvents();
    window->SetFocus();
    flushEvents();
    // The keys of a US keyboard that give these with Shift.
    const std::string shifted = ":<>\"|*?";
    const std::string unshifted = ";,.'\\8/";
    for (const char c : keys) {
        if (const auto at = shifted.find(c); at != std::string::npos) {
            sim.Char(unshifted[at], wxMOD_SHIFT);
        } else if (c == '\t') {
            sim.Char(WXK_TAB);
        } else {
            sim.Char(c, std::isupper(static_cast<unsigned char>(c)) ? wxMOD_SHIFT : 0);
        }
    }
    flushEvents();
}

void pressKey(int key) {
    wxUIActionSimulator().Char(key);
    flushEvents();
}

wxString valueOf(wxWindow* edit) {
    auto* text = dynamic_cast<wxTextCtrl*>(edit);
    return text != nullptr ? text->GetValue() : wxString("<no editor>");
}

std::unique_ptr<platform::SpecialFolders> specialFoldersAt(const std::string& home) {
    auto special = std::make_unique<test::FakeSpecialFolders>();
    special->home = home;
    return special;
}

class RenameInList : public ::testing::Test {
protected:
    RenameInList() : m_home(m_tmp.file("home")), m_pics(m_home + "/pics") {
        fs::create_directories(m_pics + "/Album");
        for (const char* name : {"photo.jpg", "beach.jpg", "README", "taken.jpg"}) {
            writeFile(m_pics + "/" + name, name);
        }
        AppFolders folders;
        folders.settingsFile = m_tmp.file("Config.ini");
        m_context = std::make_unique<AppContext>(folders, specialFoldersAt(m_home),
                                                 std::make_unique<test::FakeMountTable>());
        m_context->shell = ShellNamespace(m_home, {});
        m_icons.attach();
        m_frame = new wxFrame(nullptr, wxID_ANY, "list", wxPoint(0, 0), wxSize(640, 480));
        m_list = new CImageListCtrl(m_frame, CImageListCtrl::kControlId, *m_context, m_icons);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_list, 1, wxEXPAND);
        m_frame->SetSizer(sizer);
        test::showAndWait(m_frame);
        takeKeyboard(m_frame);
        EXPECT_TRUE(m_list->browse(*m_context->shell.idFromPath(m_pics), kBrowseFromTree));
        m_list->SetFocus();
        flushEvents();
    }
    ~RenameInList() override {
        m_frame->Destroy();
        flushEvents();
        m_icons.detach();
    }

    int indexOf(const std::string& name) const {
        const FolderItem* item = m_list->model().itemByPath(m_pics + "/" + name);
        return item != nullptr ? m_list->model().indexOf(item) : -1;
    }
    CFileNameEdit* editor() const {
        for (wxWindow* child : m_list->GetChildren()) {
            if (auto* edit = dynamic_cast<CFileNameEdit*>(child)) {
                return edit;
            }
        }
        return nullptr;
    }
    const FolderItem* focused() const {
        return m_list->model().item(m_list->model().focusedIndex());
    }
    // Opens the editor on the item (focused first, as for F2), types over its text and ends
    // it with the key (none for 0).
    void typeName(const std::string& name, const std::string& typed, int endKey = WXK_RETURN) {
        m_list->selectOnly(indexOf(name));
        ASSERT_TRUE(m_list->editLabel(indexOf(name))) << name;
        ASSERT_NE(editor(), nullptr);
        editor()->SelectAll();
        typeInto(editor(), typed);
        if (endKey != 0) {
            pressKey(endKey);
        }
    }
    void rename(const std::string& name, const std::string& typed, int endKey = WXK_RETURN) {
        typeName(name, typed, endKey);
        ASSERT_TRUE(waitFor([&] { return !m_list->isEditingLabel(); }, 3000)) << name;
        flushEvents();
    }

    wxGUIEventLoop m_loop;
    wxEventLoopActivator m_activeLoop{&m_loop};
    test::TempDir m_tmp;
    std::string m_home;
    std::string m_pics;
    std::unique_ptr<AppContext> m_context;
    CSystemImageLists m_icons;
    wxFrame* m_frame = nullptr;
    CImageListCtrl* m_list = nullptr;
};

TEST_F(RenameInList, TypedNamesKeepTheExtensionAndTheRenamedItemKeepsTheFocus) {
    MessageWatch watch;
    const int photo = indexOf("photo.jpg");
    m_list->selectOnly(photo);
    ASSERT_TRUE(m_list->editLabel(photo));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->GetValue(), "photo") << "the title, without the extension";
    EXPECT_EQ(m_list->labelEditIndex(), photo);
    EXPECT_TRUE(editor()->GetRect().Intersects(m_list->itemRect(photo)));
    // Refused characters beep and leave nothing; a Tab neither types nor leaves the editor.
    editor()->SelectAll();
    typeInto(editor(), "holi:d\tay");
    EXPECT_EQ(editor()->GetValue(), "holiday");
    EXPECT_TRUE(m_list->isEditingLabel());
    pressKey(WXK_RETURN);
    ASSERT_TRUE(waitFor([&] { return fs::exists(m_pics + "/holiday.jpg"); }, 3000));
    EXPECT_FALSE(fs::exists(m_pics + "/photo.jpg"));
    EXPECT_EQ(test::readFile(m_pics + "/holiday.jpg"), "photo.jpg");
    ASSERT_TRUE(waitFor([&] { return !m_list->isEditingLabel(); }, 3000));
    ASSERT_NE(focused(), nullptr);
    EXPECT_EQ(focused()->displayName, "holiday.jpg") << "the list was read again";
    EXPECT_TRUE(focused()->selected);
    EXPECT_EQ(indexOf("photo.jpg"), -1);

    rename("beach.jpg", "holiday.png");
    EXPECT_TRUE(fs::exists(m_pics + "/holiday.png.jpg"));
    rename("README", "NOTES");
    EXPECT_TRUE(fs::exists(m_pics + "/NOTES")) << "no extension before, none after";
    rename("Album", "Trip.2024");
    EXPECT_TRUE(fs::is_directory(m_pics + "/Trip.2024")) << "a folder's name is whole";
    EXPECT_EQ(focused()->displayName, "Trip.2024");

    // Escape, blanks and the name shown leave everything as it was.
    rename("NOTES", "SOMETHING", WXK_ESCAPE);
    rename("NOTES", "   ");
    rename("NOTES", "NOTES");
    EXPECT_TRUE(fs::exists(m_pics + "/NOTES"));
    EXPECT_EQ(m_list->model().count(), 5);

    // A click on another item ends the editor with a rename; the clicked item keeps the focus.
    typeName("NOTES", "LATER", 0);
    const wxRect taken = m_list->itemRect(indexOf("taken.jpg"));
    wxUIActionSimulator sim;
    sim.MouseMove(m_list->ClientToScreen(taken.GetPosition() + wxPoint(taken.width / 2, 30)));
    flushEvents();
    sim.MouseClick();
    ASSERT_TRUE(waitFor([&] { return fs::exists(m_pics + "/LATER"); }, 3000));
    ASSERT_TRUE(waitFor([&] { return !m_list->isEditingLabel(); }, 3000));
    EXPECT_EQ(focused()->displayName, "taken.jpg");
    EXPECT_TRUE(watch.messages.empty());
}

TEST_F(RenameInList, ATakenNameIsReportedOnceAndTheEditorOpensAgainWithWhatWasTyped) {
    MessageWatch watch;
    const int photo = indexOf("photo.jpg");
    typeName("photo.jpg", "taken");
    ASSERT_TRUE(waitFor([&] { return !watch.messages.empty(); }, 3000));
    flushEvents();
    ASSERT_EQ(watch.messages.size(), 1u);
    EXPECT_NE(watch.messages[0].find("photo.jpg"), std::string::npos) << watch.messages[0];
    EXPECT_NE(watch.messages[0].find("already exists"), std::string::npos) << watch.messages[0];
    EXPECT_EQ(test::readFile(m_pics + "/photo.jpg"), "photo.jpg");
    EXPECT_EQ(test::readFile(m_pics + "/taken.jpg"), "taken.jpg");

    ASSERT_TRUE(waitFor([&] { return m_list->isEditingLabel(); }, 3000));
    EXPECT_EQ(m_list->labelEditIndex(), photo);
    EXPECT_EQ(editor()->GetValue(), "taken");
    // Put right in the reopened editor.
    editor()->SelectAll();
    typeInto(editor(), "fixed");
    pressKey(WXK_RETURN);
    ASSERT_TRUE(waitFor([&] { return fs::exists(m_pics + "/fixed.jpg"); }, 3000));
    EXPECT_EQ(watch.messages.size(), 1u);

    // A name of dots is refused the same way.
    ASSERT_TRUE(waitFor([&] { return !m_list->isEditingLabel(); }, 3000));
    typeName("fixed.jpg", "..");
    ASSERT_TRUE(waitFor([&] { return watch.messages.size() == 2; }, 3000));
    EXPECT_NE(watch.messages[1].find("dots"), std::string::npos) << watch.messages[1];
    ASSERT_TRUE(waitFor([&] { return m_list->isEditingLabel(); }, 3000));
    m_list->cancelLabelEdit();
    EXPECT_TRUE(fs::exists(m_pics + "/fixed.jpg"));
}

TEST_F(RenameInList, ItemsOutsideTheFileSystemRootsAndMountPointsAreNotRenamed) {
    // Computer lists File System ("/") and the volumes, none of which may be renamed.
    const std::string stick = m_tmp.file("stick");
    fs::create_directories(stick + "/inside");
    m_context->shell.setVolumes({{stick, "STICK"}});
    ASSERT_TRUE(m_list->browse(ShellNamespace::computer(), kBrowseFromTree));
    ASSERT_EQ(m_list->model().count(), 2);
    for (int i = 0; i < m_list->model().count(); ++i) {
        EXPECT_FALSE(m_list->editLabel(i)) << m_list->model().item(i)->displayName;
        EXPECT_FALSE(m_list->isEditingLabel());
    }
    // On the volume, its folders are renamed as anywhere else.
    ASSERT_TRUE(m_list->browse(*m_context->shell.idFromPath(stick), kBrowseFromTree));
    EXPECT_TRUE(m_list->editLabel(0));
    m_list->cancelLabelEdit();
    EXPECT_FALSE(m_list->isEditingLabel());
    // A folder on another device than its parent is a mount point too.
    ASSERT_TRUE(m_list->browse(ShellNamespace::fileSystem(), kBrowseFromTree));
    const FolderItem* proc = m_list->model().itemByPath("/proc");
    ASSERT_NE(proc, nullptr);
    EXPECT_FALSE(m_list->editLabel(m_list->model().indexOf(proc)));
}

class RenameInTree : public ::testing::Test {
protected:
    RenameInTree() : m_home(m_tmp.file("home")), m_stick(m_tmp.file("stick")) {
        for (const char* sub : {"Pictures/2023/inside", "Pictures/2024", "Documents"}) {
            fs::create_directories(fs::path(m_home) / sub);
        }
        fs::create_directories(m_stick);
        AppFolders folders;
        folders.settingsFile = m_tmp.file("Config.ini");
        m_context = std::make_unique<AppContext>(folders, specialFoldersAt(m_home),
                                                 std::make_unique<test::FakeMountTable>());
        m_context->shell = ShellNamespace(m_home, {{m_stick, "STICK"}});
        m_frame = new wxFrame(nullptr, wxID_ANY, "tree", wxPoint(20, 20), wxSize(320, 480));
        m_tree = new CShellTree(m_frame, 137, *m_context, m_icons);
        test::showAndWait(m_frame);
        takeKeyboard(m_frame);
        m_tree->setFolderSelectedHandler(
            [this](const ItemIdList& folder) { m_browsed = m_context->shell.pathOf(folder); });
        m_tree->selectFolder(id("Pictures"));
        flushEvents();
    }
    ~RenameInTree() override {
        m_frame->Destroy();
        flushEvents();
    }

    ItemIdList id(const std::string& relative) const {
        return *m_context->shell.idFromPath(m_home + "/" + relative);
    }
    wxTreeItemId node(const std::string& relative) { return m_tree->findNode(id(relative), true); }
    std::vector<std::string> childNames(const std::string& relative) {
        std::vector<std::string> names;
        wxTreeItemIdValue cookie;
        const wxTreeItemId parent = node(relative);
        for (auto c = m_tree->GetFirstChild(parent, cookie); c.IsOk();
             c = m_tree->GetNextChild(parent, cookie)) {
            names.push_back(m_tree->GetItemText(c).utf8_string());
        }
        return names;
    }
    // Opens the editor on the node, replaces its text by typing, and ends it with Enter.
    void rename(const std::string& relative, const std::string& typed) {
        ASSERT_TRUE(m_tree->editLabel(node(relative))) << relative;
        wxTextCtrl* edit = m_tree->GetEditControl();
        ASSERT_NE(edit, nullptr);
        edit->SelectAll();
        typeInto(edit, typed);
        pressKey(WXK_RETURN);
        ASSERT_TRUE(waitFor([&] { return !m_tree->isEditingLabel(); }, 3000)) << relative;
        flushEvents();
    }

    wxGUIEventLoop m_loop;
    wxEventLoopActivator m_activeLoop{&m_loop};
    test::TempDir m_tmp;
    std::string m_home;
    std::string m_stick;
    std::unique_ptr<AppContext> m_context;
    CSystemImageLists m_icons;
    wxFrame* m_frame = nullptr;
    CShellTree* m_tree = nullptr;
    std::string m_browsed;
};

using Names = std::vector<std::string>;

TEST_F(RenameInTree, AFolderRenamedInPlaceIsListedAgainAndSelected) {
    MessageWatch watch;
    ASSERT_TRUE(m_tree->editLabel(node("Pictures/2023")));
    wxTextCtrl* edit = m_tree->GetEditControl();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetValue(), "2023");
    edit->SelectAll();
    typeInto(edit, "old:\t 2023.x");
    EXPECT_EQ(valueOf(m_tree->GetEditControl()), "old 2023.x") << "':' and Tab are refused";
    pressKey(WXK_RETURN);
    ASSERT_TRUE(waitFor([&] { return fs::is_directory(m_home + "/Pictures/old 2023.x"); }, 3000));
    EXPECT_TRUE(fs::is_directory(m_home + "/Pictures/old 2023.x/inside"));
    ASSERT_TRUE(waitFor([&] { return m_browsed == m_home + "/Pictures/old 2023.x"; }, 3000));
    EXPECT_EQ(childNames("Pictures"), (Names{"2024", "old 2023.x"}));
    EXPECT_EQ(m_tree->GetSelection(), node("Pictures/old 2023.x"));

    // Its own name or blanks: nothing happens, and the label stays.
    rename("Documents", "   ");
    rename("Documents", "Documents");
    EXPECT_TRUE(fs::is_directory(m_home + "/Documents"));
    EXPECT_EQ(m_tree->GetItemText(node("Documents")), "Documents");
    EXPECT_TRUE(watch.messages.empty());
}

TEST_F(RenameInTree, ATakenNameIsReportedAndTheEditorOpensAgain) {
    MessageWatch watch;
    ASSERT_TRUE(m_tree->editLabel(node("Pictures/2024")));
    m_tree->GetEditControl()->SelectAll();
    typeInto(m_tree->GetEditControl(), "2023");
    pressKey(WXK_RETURN);
    ASSERT_TRUE(waitFor([&] { return !watch.messages.empty(); }, 3000));
    flushEvents();
    ASSERT_EQ(watch.messages.size(), 1u);
    EXPECT_NE(watch.messages[0].find("\"2024\""), std::string::npos) << watch.messages[0];
    EXPECT_NE(watch.messages[0].find("already exists"), std::string::npos) << watch.messages[0];
    ASSERT_TRUE(waitFor([&] { return m_tree->isEditingLabel(); }, 3000));
    EXPECT_EQ(valueOf(m_tree->GetEditControl()), "2023");
    pressKey(WXK_ESCAPE);
    ASSERT_TRUE(waitFor([&] { return !m_tree->isEditingLabel(); }, 3000));
    EXPECT_EQ(childNames("Pictures"), (Names{"2023", "2024"}));
    EXPECT_TRUE(fs::is_directory(m_home + "/Pictures/2023/inside"));
    EXPECT_EQ(watch.messages.size(), 1u);
}

TEST_F(RenameInTree, VirtualFoldersTheRootAndMountPointsAreNotRenamed) {
    const wxTreeItemId computer = m_tree->findNode(ShellNamespace::computer(), true);
    const wxTreeItemId refused[] = {
        m_tree->GetRootItem(),
        computer,
        m_tree->findNode(ShellNamespace::home(), true),
        m_tree->findNode(ShellNamespace::fileSystem(), true),
        m_tree->findNode(ShellNamespace::volume(m_stick), true),
        m_tree->findNode(*m_context->shell.idFromPath("/proc"), true),
    };
    for (const wxTreeItemId& item : refused) {
        ASSERT_TRUE(item.IsOk());
        EXPECT_FALSE(m_tree->mayRename(item)) << m_tree->GetItemText(item);
        EXPECT_FALSE(m_tree->editLabel(item)) << m_tree->GetItemText(item);
        EXPECT_EQ(m_tree->GetEditControl(), nullptr);
    }
    EXPECT_TRUE(m_tree->mayRename(node("Documents")));
}

// Runs the dialog modally and calls step from inside its loop until it ends the dialog.
int runModal(wxDialog& dialog, const std::function<void()>& step) {
    wxTimer timer;
    bool done = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!dialog.IsModal() || !dialog.IsShownOnScreen()) {
            if (std::chrono::steady_clock::now() > deadline) {
                dialog.EndModal(-1);
            }
            return;
        }
        if (!done) {
            done = true;
            timer.Stop();
            step();
        }
    });
    timer.Start(50);
    const int result = dialog.ShowModal();
    timer.Stop();
    return result;
}

void pressButton(wxDialog& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

TEST(RenameDialog, ShowsTheFileNameAndReturnsWhatWasTyped) {
    {
        CDlgRename dialog(nullptr, "/pics/photo.jpg");
        EXPECT_EQ(dialog.GetTitle(), "Rename");
        EXPECT_EQ(dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK))->GetLabel(), "Ok");
        EXPECT_EQ(dynamic_cast<wxButton*>(dialog.FindWindow(wxID_CANCEL))->GetLabel(), "Cancel");
        bool labelFound = false;
        for (wxWindow* child : dialog.GetChildren()) {
            if (auto* text = dynamic_cast<wxStaticText*>(child)) {
                labelFound = labelFound || text->GetLabel() == "&New name";
            }
        }
        EXPECT_TRUE(labelFound);
        EXPECT_GE(dialog.GetClientSize().x, dialog.ConvertDialogToPixels(wxSize(197, 57)).x);
        auto* edit = dynamic_cast<CFileNameEdit*>(dialog.FindWindow(CDlgRename::kNameEditId));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->GetValue(), "photo.jpg");
        const int result = runModal(dialog, [&] {
            edit->SelectAll();
            typeInto(edit, "trip<2>.png");
            // Pasted text loses the refused characters too.
            edit->WriteText("|\"x\"*");
            pressButton(dialog, wxID_OK);
        });
        EXPECT_EQ(result, wxID_OK);
        EXPECT_EQ(dialog.newName(), "trip2.pngx");
    }
    {
        CDlgRename dialog(nullptr, "/pics/photo.jpg");
        const int result = runModal(dialog, [&] {
            dialog.nameEdit().ChangeValue(wxString(300, 'n'));
            pressButton(dialog, wxID_OK);
        });
        EXPECT_EQ(result, wxID_OK);
        EXPECT_EQ(dialog.newName(), std::string(CDlgRename::kMaxNameLength, 'n'));
    }
    {
        CDlgRename dialog(nullptr, "/pics/photo.jpg");
        const int result = runModal(dialog, [&] { pressButton(dialog, wxID_CANCEL); });
        EXPECT_EQ(result, wxID_CANCEL);
        EXPECT_EQ(dialog.newName(), "");
    }
}

}  // namespace
}  // namespace tarn
