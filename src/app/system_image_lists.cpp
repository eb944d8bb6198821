#include "app/system_image_lists.h"

#include <wx/artprov.h>

#include "platform/system_icons.h"

namespace tarn {

namespace {

std::unique_ptr<wxImageList> buildList(int side) {
    using platform::SystemIcon;
    auto list = std::make_unique<wxImageList>(side, side, true);
    int found = 0;
    for (int i = 0; i < static_cast<int>(SystemIcon::Count); ++i) {
        const auto name = platform::systemIconName(static_cast<SystemIcon>(i));
        wxBitmap bitmap = wxArtProvider::GetBitmap(wxString::FromUTF8(name.data(), name.size()),
                                                   wxART_OTHER, wxSize(side, side));
        if (bitmap.IsOk() && bitmap.GetSize() != wxSize(side, side)) {
            wxImage image = bitmap.ConvertToImage();
            image.Rescale(side, side, wxIMAGE_QUALITY_HIGH);
            bitmap = wxBitmap(image);
        }
        if (bitmap.IsOk()) {
            ++found;
        } else {
            // Keeps the indices stable when the theme lacks one icon.
            wxImage blank(side, side);
            blank.InitAlpha();
            std::fill_n(blank.GetAlpha(), side * side, 0);
            bitmap = wxBitmap(blank);
        }
        list->Add(bitmap);
    }
    if (found == 0) {
        list.reset();
    }
    return list;
}

}  // namespace

void CSystemImageLists::attach() {
    m_large = buildList(32);
    m_small = buildList(16);
}

void CSystemImageLists::detach() {
    m_large.reset();
    m_small.reset();
}

}  // namespace tarn
