#pragma once

namespace tarn {

// Exiv2 sets up its XMP parser lazily and not thread-safely, and prints warnings about damaged
// files to the console. Call before any Exiv2 read; the first call does both once.
void initialiseExiv2();

}  // namespace tarn
