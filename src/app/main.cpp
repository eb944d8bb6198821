#include <wx/app.h>

#include "app/tarn_app.h"
#include "app/toolkit_environment.h"

wxIMPLEMENT_APP_NO_MAIN(tarn::CTarnViewApp);

int main(int argc, char** argv) {
    tarn::prepareToolkitEnvironment();
    // A failed start-up ends with exit code 1, whatever the toolkit returns for it.
    const int rc = wxEntry(argc, argv);
    return rc < 0 ? 1 : rc;
}
