#include "imaging/exiv2_setup.h"

#include <exiv2/exiv2.hpp>

#include <mutex>

namespace tarn {

void initialiseExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::XmpParser::initialize();
        // Damaged files are expected; what cannot be read is left out, not reported.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    });
}

}  // namespace tarn
