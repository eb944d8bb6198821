#pragma once

#include <wx/app.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <chrono>
#include <functional>
#include <thread>

namespace tarn::test {

// Lets the toolkit handle what is pending, for about the given time.
inline void pumpEvents(int milliseconds = 50) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        wxYield();
        wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
}

// Lets the toolkit handle what is already pending, without waiting for anything new.
inline void flushEvents() {
    for (int round = 0; round < 100; ++round) {
        wxYield();
        wxTheApp->ProcessPendingEvents();
        if (!wxTheApp->HasPendingEvents() && !wxTheApp->Pending()) {
            return;
        }
    }
}

// Pumps events until the condition holds or the time runs out; whether it holds.
inline bool waitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) {
            return true;
        }
        pumpEvents(20);
    }
    return condition();
}

// Shows a top-level window and waits until it is mapped and laid out.
inline void showAndWait(wxTopLevelWindow* window) {
    window->Show();
    window->Raise();
    waitFor([&] { return window->IsShownOnScreen(); }, 1000);
    // The first size allocation follows the map.
    pumpEvents(150);
}

}  // namespace tarn::test
