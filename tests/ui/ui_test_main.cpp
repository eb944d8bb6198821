#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/toolkit_environment.h"
#include "imaging/imaging_service.h"

// Runs the UI tests inside an initialised toolkit. Listing the tests needs no display.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    // What GLib and GTK keep per user (the Trash, recently used files) stays in a folder of the
    // run, out of the real home.
    char dataHome[] = "/tmp/tarn-ui-data-XXXXXX";
    if (::mkdtemp(dataHome) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    ::setenv("XDG_DATA_HOME", dataHome, 1);
    // Thumbnails the lists make go to a cache of the run too.
    ::setenv("XDG_CACHE_HOME", (std::string(dataHome) + "/cache").c_str(), 1);
    tarn::prepareToolkitEnvironment();
    wxApp::SetInstance(new wxApp);  // owned and deleted by the toolkit
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv)) {
        std::fprintf(stderr, "The UI tests need a display (run them under xvfb-run).\n");
        return 1;
    }
    wxInitAllImageHandlers();
    // Messages the toolkit logs go to the test's output, never into a window waiting for a click.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    int rc = 0;
    {
        // As in the program: the imaging library started after the toolkit's image handlers, so
        // that its messages (and those of the TIFF library under it) are captured, not logged.
        const tarn::ImagingService imaging;
        rc = RUN_ALL_TESTS();
    }
    wxEntryCleanup();
    std::error_code ignored;
    std::filesystem::remove_all(dataHome, ignored);
    return rc;
}
