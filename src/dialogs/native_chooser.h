#pragma once

#include <optional>
#include <string>

namespace tarn::native_chooser {

// The few calls into the platform's file chooser that wx has no counterpart for. wx has already
// loaded the toolkit, so they are looked up there rather than built against its headers; each
// reports failure when the toolkit lacks the call. widget is the dialog's GetHandle().

// The text of a save chooser's name box.
std::optional<std::string> currentName(void* widget);
bool setCurrentName(void* widget, const std::string& name);

// The chooser window's size, and resizing it (wx cannot size a native chooser).
bool size(void* widget, int& width, int& height);
bool resize(void* widget, int width, int height);

}  // namespace tarn::native_chooser
