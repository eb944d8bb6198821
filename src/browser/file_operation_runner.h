#pragma once

#include <wx/timer.h>
#include <wx/weakref.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/background_task.h"
#include "browser/file_operations.h"

class wxProgressDialog;
class wxWindow;

namespace tarn {

// How a running operation talks to the user; tests put their own answers in.
struct FileOperationPrompts {
    // A name that exists at the target: replace, skip or cancel, maybe for all that follow.
    std::function<ConflictAnswer(const std::string& source, const std::string& target)> conflict;
    // One message for what failed or was refused.
    std::function<void(const std::string& text)> error;
};

// Runs one copy, move or delete at a time on a worker thread, so the window stays responsive.
// After about a second a progress dialog with Cancel appears; a name conflict is asked on the
// UI thread while the worker waits. Used on the UI thread.
class FileOperationRunner {
public:
    using Done = std::function<void(const FileOpResult&)>;

    explicit FileOperationRunner(wxWindow& owner);
    // Cancels a running operation after its current file and waits for it.
    ~FileOperationRunner();
    FileOperationRunner(const FileOperationRunner&) = delete;
    FileOperationRunner& operator=(const FileOperationRunner&) = delete;

    FileOperationPrompts& prompts() { return m_prompts; }

    // Starts the operation unless one runs or it is refused (then the refusal is shown, unless
    // quiet). done runs on the UI thread when it has ended, also after a refusal. Returns
    // whether it started.
    bool start(FileOpRequest request, Done done);
    bool busy() const { return m_worker.joinable(); }

private:
    class Observer;
    struct Shared;

    void finish(const FileOpResult& result);
    void onTick(wxTimerEvent& event);
    void showErrors(const FileOpRequest& request, const FileOpResult& result) const;
    ConflictAnswer askOnUiThread(const std::string& source, const std::string& target);

    wxWindow& m_owner;
    FileOperationPrompts m_prompts;
    std::shared_ptr<Shared> m_shared;
    FileOpRequest m_request;
    Done m_done;
    wxTimer m_tick;
    int m_ticks = 0;
    wxWeakRef<wxProgressDialog> m_progress;
    std::thread m_worker;
    // Last: closed before the worker is joined, so nothing reaches a runner that has gone.
    std::unique_ptr<UiHandOff> m_handOff;
};

}  // namespace tarn
