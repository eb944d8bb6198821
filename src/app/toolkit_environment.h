#pragma once

namespace tarn {

// Settles what the toolkit reads from the environment at start-up; call before it starts.
// The program draws nothing with OpenGL, yet GTK on X11 loads the system's OpenGL driver to pick
// its visuals, which maps the driver's compiler (tens of megabytes) and slows the start. A value
// the user set is kept.
void prepareToolkitEnvironment();

}  // namespace tarn
