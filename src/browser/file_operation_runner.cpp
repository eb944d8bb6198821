#include "browser/file_operation_runner.h"

#include <wx/msgdlg.h>
#include <wx/progdlg.h>

#include "browser/dlg_name_conflict.h"
#include "common/program_name.h"
#include "common/text_format.h"

namespace tarn {

namespace {

constexpr int kTickMs = 100;
constexpr int kTicksBeforeProgress = 10;  // about a second

const char* captionOf(FileOpKind kind) {
    switch (kind) {
        case FileOpKind::Copy:
            return "Copying...";
        case FileOpKind::Move:
            return "Moving...";
        case FileOpKind::Trash:
        case FileOpKind::Delete:
            return "Deleting...";
    }
    return "";
}

}  // namespace

// What the worker and the UI thread share; guarded by its mutex.
struct FileOperationRunner::Shared {
    std::mutex mutex;
    std::condition_variable answered;
    FileOpProgress progress;
    std::optional<ConflictAnswer> answer;
    std::atomic<bool> cancel{false};
    bool closing = false;
};

class FileOperationRunner::Observer final : public FileOpObserver {
public:
    Observer(FileOperationRunner& runner, std::shared_ptr<Shared> shared)
        : m_runner(runner), m_shared(std::move(shared)) {}

    ConflictAnswer askConflict(const std::string& source, const std::string& target) override {
        return m_runner.askOnUiThread(source, target);
    }
    void progress(const FileOpProgress& progress) override {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->progress = progress;
    }
    bool cancelRequested() const override { return m_shared->cancel; }

private:
    FileOperationRunner& m_runner;
    std::shared_ptr<Shared> m_shared;
};

FileOperationRunner::FileOperationRunner(wxWindow& owner)
    : m_owner(owner), m_handOff(std::make_unique<UiHandOff>(owner)) {
    m_prompts.conflict = [this](const std::string& source, const std::string& target) {
        CDlgNameConflict dialog(&m_owner, source, target);
        return dialog.ask();
    };
    m_prompts.error = [this](const std::string& text) {
        wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(std::string(kProgramTitle)),
                     wxOK | wxICON_EXCLAMATION, &m_owner);
    };
    m_tick.Bind(wxEVT_TIMER, &FileOperationRunner::onTick, this);
}

FileOperationRunner::~FileOperationRunner() {
    m_tick.Stop();
    if (m_shared) {
        {
            const std::lock_guard lock(m_shared->mutex);
            m_shared->closing = true;
        }
        m_shared->cancel = true;
        m_shared->answered.notify_all();
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    if (m_progress) {
        m_progress->Destroy();
    }
}

bool FileOperationRunner::start(FileOpRequest request, Done done) {
    if (busy()) {
        return false;
    }
    if (const std::string refusal = refusalOf(request); !refusal.empty()) {
        if (!request.quiet) {
            m_prompts.error(refusal);
        }
        FileOpResult refused;
        refused.errors.push_back({std::string(), refusal});
        done(refused);
        return false;
    }
    m_request = std::move(request);
    m_done = std::move(done);
    m_shared = std::make_shared<Shared>();
    m_ticks = 0;
    m_tick.Start(kTickMs);
    m_worker = std::thread([this, shared = m_shared, request = m_request] {
        Observer observer(*this, shared);
        auto result = std::make_shared<FileOpResult>(runFileOperation(request, observer));
        m_handOff->post([this, result] { finish(*result); });
    });
    return true;
}

ConflictAnswer FileOperationRunner::askOnUiThread(const std::string& source,
                                                  const std::string& target) {
    const std::shared_ptr<Shared> shared = m_shared;
    m_handOff->post([this, shared, source, target] {
        const ConflictAnswer answer = m_prompts.conflict(source, target);
        {
            const std::lock_guard lock(shared->mutex);
            shared->answer = answer;
        }
        shared->answered.notify_all();
    });
    std::unique_lock lock(shared->mutex);
    shared->answered.wait(lock, [&] { return shared->answer.has_value() || shared->closing; });
    const ConflictAnswer answer = shared->answer.value_or(ConflictAnswer{});
    shared->answer.reset();
    return answer;
}

void FileOperationRunner::onTick(wxTimerEvent&) {
    if (!m_shared) {
        return;
    }
    FileOpProgress progress;
    {
        const std::lock_guard lock(m_shared->mutex);
        progress = m_shared->progress;
    }
    if (++m_ticks < kTicksBeforeProgress && !m_progress) {
        return;
    }
    const int permille =
        progress.bytesTotal > 0
            ? static_cast<int>(progress.bytesDone * 1000 / progress.bytesTotal)
            : (progress.filesTotal > 0 ? progress.filesDone * 1000 / progress.filesTotal : 0);
    const wxString text = wxString::FromUTF8(
        std::to_string(progress.filesDone) + " of " + std::to_string(progress.filesTotal) +
        " files, " + sizeText(progress.bytesDone) + " of " + sizeText(progress.bytesTotal) + "\n" +
        progress.currentName);
    if (!m_progress) {
        m_progress = new wxProgressDialog(
            captionOf(m_request.kind), text, 1000, &m_owner,
            wxPD_CAN_ABORT | wxPD_APP_MODAL | wxPD_ELAPSED_TIME | wxPD_REMAINING_TIME);
    }
    if (!m_progress->Update(std::min(permille, 999), text)) {
        m_shared->cancel = true;
    }
}

void FileOperationRunner::finish(const FileOpResult& result) {
    m_tick.Stop();
    if (m_worker.joinable()) {
        m_worker.join();
    }
    if (m_progress) {
        m_progress->Destroy();
        m_progress = nullptr;
    }
    m_shared.reset();
    showErrors(m_request, result);
    const Done done = std::move(m_done);
    m_done = nullptr;
    if (done) {
        done(result);
    }
}

void FileOperationRunner::showErrors(const FileOpRequest& request,
                                     const FileOpResult& result) const {
    if (request.quiet || result.errors.empty()) {
        return;
    }
    const char* verb = request.kind == FileOpKind::Copy   ? "copy"
                       : request.kind == FileOpKind::Move ? "move"
                                                          : "delete";
    // One message however many failed; a long list is cut after the first few.
    constexpr std::size_t kShown = 8;
    std::string text;
    for (std::size_t i = 0; i < result.errors.size() && i < kShown; ++i) {
        const FileOpError& error = result.errors[i];
        text += (text.empty() ? "" : "\n") + std::string("Cannot ") + verb + " \"" + error.path +
                "\": " + error.reason;
    }
    if (result.errors.size() > kShown) {
        text += "\n(and " + std::to_string(result.errors.size() - kShown) + " more)";
    }
    m_prompts.error(text);
}

}  // namespace tarn
