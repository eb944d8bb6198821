#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>

// Runs the UI tests inside an initialised toolkit. Listing the tests needs no display.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    wxApp::SetInstance(new wxApp);  // owned and deleted by the toolkit
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv)) {
        std::fprintf(stderr, "The UI tests need a display (run them under xvfb-run).\n");
        return 1;
    }
    wxInitAllImageHandlers();
    const int rc = RUN_ALL_TESTS();
    wxEntryCleanup();
    return rc;
}
