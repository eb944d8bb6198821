#include "browser/file_clipboard.h"

#include <wx/bitmap.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "common/toolkit_calls.h"
#include "imaging/image_draw.h"
#include "imaging/image_header.h"

namespace tarn {

namespace {

const char* const kGnomeCopiedFiles = "x-special/gnome-copied-files";
const char* const kUriList = "text/uri-list";
// The picture forms other programs put on the clipboard, the lossless ones first.
const char* const kPictureFormats[] = {"image/png", "image/bmp", "image/x-bmp", "image/tiff",
                                       "image/jpeg"};

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

// What the clipboard offers (files, a picture), kept until it changes hands: the menus and
// buttons ask on every idle moment, and each question is a round trip to the clipboard's owner.
class OffersCache {
public:
    enum Offer { kFiles, kPicture, kOfferCount };

    static OffersCache& instance() {
        static OffersCache cache;
        return cache;
    }

    std::optional<bool> answer(Offer offer) const {
        return m_watching ? m_answers[offer] : std::nullopt;
    }
    void store(Offer offer, bool offered) {
        watch();
        m_answers[offer] = offered;
    }
    void forget() {
        for (auto& answer : m_answers) {
            answer.reset();
        }
    }

private:
    // The toolkit tells of every new owner of the clipboard, another program's too.
    void watch() {
        if (m_watching) {
            return;
        }
        using Intern = void* (*)(const char*, int);
        using Get = void* (*)(void*);
        using Handler = void (*)(void*, void*, void*);
        using Connect = unsigned long (*)(void*, const char*, Handler, void*, void*, int);
        const auto intern = toolkitFunction<Intern>("gdk_atom_intern");
        const auto get = toolkitFunction<Get>("gtk_clipboard_get");
        const auto connect = toolkitFunction<Connect>("g_signal_connect_data");
        void* clipboard = intern && get ? get(intern("CLIPBOARD", 0)) : nullptr;
        if (clipboard == nullptr || connect == nullptr) {
            return;
        }
        const Handler changed = [](void*, void*, void*) { instance().forget(); };
        m_watching = connect(clipboard, "owner-change", changed, nullptr, nullptr, 0) != 0;
    }

    bool m_watching = false;
    std::optional<bool> m_answers[kOfferCount];
};

wxCustomDataObject* customData(const char* format, const std::string& text) {
    auto* data = new wxCustomDataObject(wxDataFormat(format));
    data->SetData(text.size(), text.data());
    return data;
}

// The toolkit's own clipboard reading. The toolkit library's waiting is used rather than the
// window library's: that one pairs each answer with the last question and stumbles when an
// answer comes late from another program.
struct ToolkitClipboard {
    using Atom = void*;
    ToolkitClipboard()
        : intern(toolkitFunction<Atom (*)(const char*, int)>("gdk_atom_intern")),
          get(toolkitFunction<void* (*)(Atom)>("gtk_clipboard_get")),
          hasTarget(
              toolkitFunction<int (*)(void*, Atom)>("gtk_clipboard_wait_is_target_available")),
          contents(toolkitFunction<void* (*)(void*, Atom)>("gtk_clipboard_wait_for_contents")),
          text(toolkitFunction<char* (*)(void*)>("gtk_clipboard_wait_for_text")),
          bytes(toolkitFunction<const unsigned char* (*)(void*)>("gtk_selection_data_get_data")),
          length(toolkitFunction<int (*)(void*)>("gtk_selection_data_get_length")),
          freeData(toolkitFunction<void (*)(void*)>("gtk_selection_data_free")),
          freeText(toolkitFunction<void (*)(void*)>("g_free")) {}

    bool usable() const {
        return intern && get && hasTarget && contents && text && bytes && length && freeData &&
               freeText;
    }
    void* clipboard() const { return get(intern("CLIPBOARD", 0)); }

    Atom (*intern)(const char*, int);
    void* (*get)(Atom);
    int (*hasTarget)(void*, Atom);
    void* (*contents)(void*, Atom);
    char* (*text)(void*);
    const unsigned char* (*bytes)(void*);
    int (*length)(void*);
    void (*freeData)(void*);
    void (*freeText)(void*);
};

const ToolkitClipboard& toolkit() {
    static const ToolkitClipboard calls;
    return calls;
}

bool offers(const char* format) {
    const ToolkitClipboard& tk = toolkit();
    return tk.usable() && tk.hasTarget(tk.clipboard(), tk.intern(format, 0)) != 0;
}

// The bytes the clipboard holds in this format; nothing when it has none.
std::optional<std::string> clipboardText(const char* format) {
    // Asked for directly: the toolkit's list of what the clipboard offers lags behind a new
    // owner until the event loop has run.
    const ToolkitClipboard& tk = toolkit();
    if (!tk.usable()) {
        return std::nullopt;
    }
    void* data = tk.contents(tk.clipboard(), tk.intern(format, 0));
    if (data == nullptr) {
        return std::nullopt;
    }
    const int size = tk.length(data);
    std::string_view text;
    if (size > 0 && tk.bytes(data) != nullptr) {
        text = std::string_view(reinterpret_cast<const char*>(tk.bytes(data)),
                                static_cast<std::size_t>(size));
    }
    // Some programs count a terminating NUL in the selection.
    while (!text.empty() && text.back() == '\0') {
        text.remove_suffix(1);
    }
    std::string copy(text);
    tk.freeData(data);
    return size < 0 ? std::nullopt : std::optional<std::string>(std::move(copy));
}

// The clipboard's text, empty when it holds none.
std::string plainText() {
    const ToolkitClipboard& tk = toolkit();
    if (!tk.usable()) {
        return {};
    }
    char* text = tk.text(tk.clipboard());
    if (text == nullptr) {
        return {};
    }
    std::string copy(text);
    tk.freeText(text);
    return copy;
}

}  // namespace

bool putFilesOnClipboard(const platform::ClipboardFiles& files) {
    const OpenClipboard clipboard;
    if (!clipboard) {
        return false;
    }
    OffersCache::instance().forget();
    wxTheClipboard->Clear();
    const std::string uriList = platform::uriListText(files.paths);
    if (uriList.empty()) {
        return false;
    }
    auto* both = new wxDataObjectComposite;
    both->Add(customData(kGnomeCopiedFiles, platform::gnomeCopiedFilesText(files)), true);
    both->Add(customData(kUriList, uriList));
    const bool put = wxTheClipboard->SetData(both);
    OffersCache& cache = OffersCache::instance();
    cache.store(OffersCache::kFiles, put);
    cache.store(OffersCache::kPicture, false);
    return put;
}

std::optional<platform::ClipboardFiles> filesOnClipboard() {
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
    OffersCache& cache = OffersCache::instance();
    if (const std::optional<bool> known = cache.answer(OffersCache::kFiles)) {
        return *known;
    }
    const bool offered = offers(kGnomeCopiedFiles) || offers(kUriList) ||
                         platform::isNautilusClipboardText(plainText());
    cache.store(OffersCache::kFiles, offered);
    return offered;
}

bool putBitmapOnClipboard(const wxBitmap& bitmap) {
    if (!bitmap.IsOk()) {
        return false;
    }
    const OpenClipboard clipboard;
    if (!clipboard) {
        return false;
    }
    OffersCache& cache = OffersCache::instance();
    cache.forget();
    wxTheClipboard->Clear();
    const bool put = wxTheClipboard->SetData(new wxBitmapDataObject(bitmap));
    // The toolkit learns of the new owner only through the event loop and answers from what it
    // knew before until then.
    cache.store(OffersCache::kPicture, put);
    cache.store(OffersCache::kFiles, false);
    return put;
}

bool putImageOnClipboard(const fipImage& image) {
    return putBitmapOnClipboard(toWxBitmap(image));
}

bool clipboardHasImage() {
    OffersCache& cache = OffersCache::instance();
    if (const std::optional<bool> known = cache.answer(OffersCache::kPicture)) {
        return *known;
    }
    const bool offered = std::any_of(std::begin(kPictureFormats), std::end(kPictureFormats),
                                     [](const char* format) { return offers(format); });
    cache.store(OffersCache::kPicture, offered);
    return offered;
}

ClipboardPicture imageFromClipboard(std::uint64_t maxPixels) {
    ClipboardPicture result;
    for (const char* format : kPictureFormats) {
        const std::optional<std::string> bytes = clipboardText(format);
        if (!bytes || bytes->empty()) {
            continue;
        }
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
        // The size is checked before a pixel is decoded: a few bytes may claim a huge picture.
        if (const auto header = readImageHeader(data, bytes->size())) {
            result.width = header->width;
            result.height = header->height;
            if (std::uint64_t{header->width} * header->height > maxPixels) {
                result.tooLarge = true;
                return result;
            }
        }
        if (result.image.loadFromMemory(data, bytes->size())) {
            result.width = result.image.getWidth();
            result.height = result.image.getHeight();
            return result;
        }
    }
    return result;
}

}  // namespace tarn
