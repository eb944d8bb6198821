#pragma once

#include <wx/app.h>

#include <memory>

#include "app/app_context.h"
#include "app/system_image_lists.h"
#include "imaging/imaging_service.h"

namespace tarn {

// The application object: starts the services, works out the folders, reads its one setting
// and shows the main frame; at exit removes the temporary folder and writes the setting back.
class CTarnViewApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

    // Null before start-up has worked out the folders.
    AppContext* context() const { return m_context.get(); }
    const CSystemImageLists& iconLists() const { return m_iconLists; }

private:
    CSystemImageLists m_iconLists;
    std::unique_ptr<ImagingService> m_imaging;
    std::unique_ptr<AppContext> m_context;
};

}  // namespace tarn
