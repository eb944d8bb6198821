#include "app/background_task.h"

#include <wx/app.h>
#include <wx/toplevel.h>

namespace tarn {
namespace {

// A frame's Destroy() only schedules its deletion: a window on its way out counts as gone.
bool goingAway(wxWindow& window) {
    if (window.IsBeingDeleted()) {
        return true;
    }
    wxWindow* const top = wxGetTopLevelParent(&window);
    return top != nullptr && wxTheApp->IsScheduledForDestruction(top);
}

}  // namespace

UiHandOff::UiHandOff(wxWindow& owner) : m_target(std::make_shared<Target>()) {
    m_target->owner = &owner;
}

UiHandOff::~UiHandOff() {
    m_target->open = false;
}

void UiHandOff::post(std::function<void()> continuation) const {
    wxAppConsole* const app = wxApp::GetInstance();
    if (app == nullptr) {
        return;
    }
    // The application object outlives every window, and queueing to it is safe from any thread.
    app->CallAfter([target = m_target, continuation = std::move(continuation)] {
        if (target->open && target->owner && !goingAway(*target->owner)) {
            continuation();
        }
    });
}

}  // namespace tarn
