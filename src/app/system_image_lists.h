#pragma once

#include <wx/imaglist.h>

#include <memory>

namespace tarn {

// The large and small system icon lists, built from the desktop icon theme in the order of
// platform::SystemIcon. Either list may be absent (null) when the theme has none of the
// icons; every user must accept that.
class CSystemImageLists {
public:
    void attach();
    void detach();

    wxImageList* large() const { return m_large.get(); }
    wxImageList* small() const { return m_small.get(); }

private:
    std::unique_ptr<wxImageList> m_large;
    std::unique_ptr<wxImageList> m_small;
};

}  // namespace tarn
