#include "browser/file_clipboard.h"

#include <wx/bitmap.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <string>
#include <string_view>

namespace tarn {

namespace {

const char* const kGnomeCopiedFiles = "x-special/gnome-copied-files";
const char* const kUriList = "text/uri-list";

// Opens the clipboard for one use and closes it again; not when someone else has it open.
class OpenClipboard {
public:
    OpenClipboard() : m_open(!wxTheClipboard->IsOpened() && wxTheClipboard->Open()) {}
    ~OpenClipboard() {
        if (m_open) {
            wxTheClipboard->Close();
        }
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;

    explicit operator bool() const { return m_open; }

private:
    const bool m_open;
};

wxCustomDataObject* customData(const char* format, const std::string& text) {
    auto* data = new wxCustomDataObject(wxDataFormat(format));
    data->SetData(text.size(), text.data());
    return data;
}

// The bytes the clipboard holds in this format; nothing when it has none.
std::optional<std::string> clipboardText(const char* format) {
    const wxDataFormat dataFormat(format);
    if (!wxTheClipboard->IsSupported(dataFormat)) {
        return std::nullopt;
    }
    wxCustomDataObject data(dataFormat);
    if (!wxTheClipboard->GetData(data)) {
        return std::nullopt;
    }
    std::string_view text(static_cast<const char*>(data.GetData()), data.GetSize());
    // Some programs count a terminating NUL in the selection.
    while (!text.empty() && text.back() == '\0') {
        text.remove_suffix(1);
    }
    return std::string(text);
}

// The clipboard's text, empty when it holds none.
std::string plainText() {
    if (!wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
        return {};
    }
    wxTextDataObject data;
    return wxTheClipboard->GetData(data) ? data.GetText().utf8_string() : std::string();
}

}  // namespace

bool putFilesOnClipboard(const platform::ClipboardFiles& files) {
    const OpenClipboard clipboard;
    if (!clipboard) {
        return false;
    }
    wxTheClipboard->Clear();
    const std::string uriList = platform::uriListText(files.paths);
    if (uriList.empty()) {
        return false;
    }
    auto* both = new wxDataObjectComposite;
    both->Add(customData(kGnomeCopiedFiles, platform::gnomeCopiedFilesText(files)), true);
    both->Add(customData(kUriList, uriList));
    return wxTheClipboard->SetData(both);
}

std::optional<platform::ClipboardFiles> filesOnClipboard() {
    const OpenClipboard clipboard;
    if (!clipboard) {
        return std::nullopt;
    }
    if (const auto text = clipboardText(kGnomeCopiedFiles)) {
        if (auto files = platform::parseGnomeCopiedFiles(*text)) {
            return files;
        }
    }
    if (const auto text = clipboardText(kUriList)) {
        auto paths = platform::parseUriList(*text);
        if (!paths.empty()) {
            return platform::ClipboardFiles{std::move(paths), false};
        }
    }
    const std::string text = plainText();
    return platform::isNautilusClipboardText(text) ? platform::parseGnomeCopiedFiles(text)
                                                   : std::nullopt;
}

bool clipboardHasFiles() {
    const OpenClipboard clipboard;
    return clipboard && (wxTheClipboard->IsSupported(wxDataFormat(kGnomeCopiedFiles)) ||
                         wxTheClipboard->IsSupported(wxDataFormat(kUriList)) ||
                         platform::isNautilusClipboardText(plainText()));
}

bool putBitmapOnClipboard(const wxBitmap& bitmap) {
    if (!bitmap.IsOk()) {
        return false;
    }
    const OpenClipboard clipboard;
    if (!clipboard) {
        return false;
    }
    wxTheClipboard->Clear();
    return wxTheClipboard->SetData(new wxBitmapDataObject(bitmap));
}

}  // namespace tarn
