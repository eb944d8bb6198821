#include "dialogs/image_info_panel.h"

#include <wx/checkbox.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "dialogs/image_file_info.h"
#include "dialogs/preview_picture.h"
#include "imaging/image_draw.h"
#include "imaging/thumbnail_maker.h"

namespace tarn {

namespace {

constexpr const char* kLabelTexts[4] = {"Format:", "Size:", "Width:", "Height:"};

}  // namespace

CImageInfoPanel::CImageInfoPanel(wxWindow* parent, SettingsStore& settings)
    : wxPanel(parent, wxID_ANY), m_settings(settings) {
    // Laid out in dialog units so that it follows the font, like the standard controls above.
    const wxSize group = ConvertDialogToPixels(wxSize(87, 70));
    const wxSize area = ConvertDialogToPixels(wxSize(100, 70));
    m_group = new wxStaticBox(this, wxID_ANY, "Image Information", wxPoint(0, 0), group);

    const int labelX = ConvertDialogToPixels(wxPoint(6, 0)).x;
    const int valueX = ConvertDialogToPixels(wxPoint(34, 0)).x;
    for (int i = 0; i < 4; ++i) {
        const int y = ConvertDialogToPixels(wxPoint(0, 14 + 13 * i)).y;
        m_labels[i] = new wxStaticText(this, wxID_ANY, kLabelTexts[i], wxPoint(labelX, y),
                                       wxSize(valueX - labelX - 2, -1));
        m_values[i] = new wxStaticText(this, wxID_ANY, "", wxPoint(valueX, y),
                                       wxSize(group.x - valueX - labelX, -1),
                                       wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    }

    m_areaLeft = group.x + 20;
    m_areaTop = 0;
    m_areaWidth = area.x;
    m_areaHeight = area.y;
    m_preview = new CPreviewPicture(this, wxPoint(m_areaLeft, m_areaTop));
    m_preview->Hide();

    m_showPreview =
        new wxCheckBox(this, wxID_ANY, "Show preview", wxPoint(m_areaLeft + m_areaWidth + 10, 0));
    m_showPreview->SetValue(m_settings.get(settings::kShowPreview));
    m_showPreview->Bind(wxEVT_CHECKBOX, &CImageInfoPanel::onShowPreviewClicked, this);

    const wxSize check = m_showPreview->GetBestSize();
    SetMinSize(
        wxSize(m_showPreview->GetPosition().x + check.x + 4, std::max(group.y, m_areaHeight) + 4));
    SetSize(GetMinSize());
    showUnavailable();
}

void CImageInfoPanel::showFile(const std::string& path) {
    m_path = path;
    fipSuperImage preview;
    unsigned width = 0;
    unsigned height = 0;
    const bool known = imageFormatByContent(path) != FIF_UNKNOWN;
    if (known && m_showPreview->GetValue()) {
        wxBusyCursor wait;
        Thumbnail thumb = makeFileThumbnail(path, m_areaWidth, m_areaHeight);
        preview.replace(thumb.image);
        width = thumb.photoWidth;
        height = thumb.photoHeight;
    }
    // A preview left from an earlier file must not come back when previews are turned on.
    setPreview(preview);
    if (known) {
        showInformation(width, height);
    } else {
        showUnavailable();
    }
}

void CImageInfoPanel::onShowPreviewClicked(wxCommandEvent&) {
    if (!m_showPreview->GetValue()) {
        m_preview->Hide();
        m_settings.set(settings::kShowPreview, false);
        return;
    }
    m_settings.set(settings::kShowPreview, true);
    if (m_previewImage.isValid()) {
        m_preview->Show();
        return;
    }
    if (imageFormatByContent(m_path) != FIF_UNKNOWN) {
        wxBusyCursor wait;
        Thumbnail thumb = makeFileThumbnail(m_path, m_areaWidth, m_areaHeight);
        setPreview(thumb.image);
    }
}

void CImageInfoPanel::setPreview(fipSuperImage& image) {
    // Assigning an empty image would keep the old bitmap, so the old one is dropped first.
    m_previewImage.clear();
    m_previewImage.replace(image);
    if (!m_previewImage.isValid()) {
        m_preview->SetBitmap(wxBitmap());
        m_preview->Hide();
        return;
    }
    const wxBitmap bitmap = toWxBitmap(m_previewImage);
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();
    // The frame goes round the centred picture.
    m_preview->SetBitmap(bitmap);
    m_preview->Move(m_areaLeft + (m_areaWidth - width) / 2 - CPreviewPicture::kBorder,
                    m_areaTop + (m_areaHeight - height) / 2 - CPreviewPicture::kBorder);
    m_preview->Show(m_showPreview->GetValue());
}

void CImageInfoPanel::showInformation(unsigned width, unsigned height) {
    const ImageInfoTexts texts = describeImageFile(m_path, width, height);
    if (!texts.available) {
        showUnavailable();
        return;
    }
    const std::string values[4] = {texts.format, texts.size, texts.width, texts.height};
    for (int i = 0; i < 4; ++i) {
        m_labels[i]->SetLabel(kLabelTexts[i]);
        m_labels[i]->Show();
        m_values[i]->SetLabelText(wxString::FromUTF8(values[i]));
        m_values[i]->Show();
    }
}

void CImageInfoPanel::showUnavailable() {
    m_labels[0]->SetLabel("Unavailable");
    m_labels[0]->Show();
    m_values[0]->Hide();
    for (int i = 1; i < 4; ++i) {
        m_labels[i]->Hide();
        m_values[i]->Hide();
    }
}

}  // namespace tarn
