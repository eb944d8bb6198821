#include "app/tarn_app.h"

#include <wx/image.h>
#include <wx/msgdlg.h>

#ifdef __UNIX__
#include <glib-unix.h>
#endif

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "browser/thumbnail_worker.h"
#include "frame/main_frame.h"

namespace tarn {

namespace {

#ifdef __UNIX__
// Runs in the main loop, not in the signal handler.
gboolean onTerminateSignal(gpointer) {
    if (wxTheApp == nullptr) {
        return G_SOURCE_CONTINUE;
    }
    if (wxWindow* top = wxTheApp->GetTopWindow()) {
        top->Close(true);
        wxWakeUpIdle();  // the frame is deleted on the next idle, which nothing else triggers
    } else {
        wxTheApp->ExitMainLoop();
    }
    return G_SOURCE_CONTINUE;
}
#endif

}  // namespace

bool CTarnViewApp::OnInit() {
#ifdef __UNIX__
    // A session ending (SIGTERM) closes the frame like the user would, so settings are kept.
    g_unix_signal_add(SIGTERM, onTerminateSignal, nullptr);
#endif

    wxInitAllImageHandlers();
    m_iconLists.attach();
    m_imaging = std::make_unique<ImagingService>();

    auto special = std::make_unique<platform::LinuxSpecialFolders>();
    AppFoldersResult resolved = resolveAppFolders(*special);
    if (resolved.error == StartupError::ModuleFileName) {
        wxMessageBox(wxString::FromUTF8(kModuleFileNameError.data(), kModuleFileNameError.size()),
                     wxString::FromUTF8("Tarn Photo Viewer"), wxOK | wxICON_ERROR);
    }
    if (resolved.error != StartupError::None) {
        return false;
    }
    m_context = std::make_unique<AppContext>(std::move(resolved.folders), std::move(special));
    m_context->showHiddenFiles = m_context->settings.get(settings::kShowHiddenFiles);

    auto* frame = new CMainFrame(*m_context, m_iconLists);
    SetTopWindow(frame);
    frame->activateFirstTime();
    return true;
}

int CTarnViewApp::OnExit() {
    if (m_context) {
        removeTempFolder(m_context->folders);
        m_context->settings.set(settings::kShowHiddenFiles, m_context->showHiddenFiles);
    }
    // A thumbnail thread still inside a decode (a huge or hanging file) is not waited for, and
    // the imaging library is not shut down under it: the settings are written, so end here.
    if (ThumbnailWorker::strayThreads() > 0) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
    m_imaging.reset();
    m_iconLists.detach();
    return wxApp::OnExit();
}

}  // namespace tarn
