#pragma once

#include <wx/window.h>
// After the window header: the weak reference header needs what it brings in.
#include <wx/weakref.h>

#include <functional>
#include <memory>
#include <utility>

#include "common/background_jobs.h"

namespace tarn {

// Hands continuations from worker threads to the user-interface thread on behalf of a window.
// A continuation runs there later, unless by then the window has been destroyed or is about to
// be, or this object has gone; then it is dropped. Nothing is ever posted to the window itself, so
// a window that is being destroyed is never touched from another thread.
class UiHandOff {
public:
    // On the UI thread.
    explicit UiHandOff(wxWindow& owner);
    // On the UI thread, after every thread that posts through it has been joined.
    ~UiHandOff();
    UiHandOff(const UiHandOff&) = delete;
    UiHandOff& operator=(const UiHandOff&) = delete;

    // From any thread. What the continuation captures is copied there, so it should hold only
    // plain values and shared pointers (no wx objects with shared data).
    void post(std::function<void()> continuation) const;

private:
    // Only read and written on the UI thread; the last reference to it goes there too.
    struct Target {
        wxWeakRef<wxWindow> owner;
        bool open = true;
    };
    std::shared_ptr<Target> m_target;
};

// Runs work on a thread and hands its result to the UI thread, where done runs, dropped when
// the owner window has gone. The threads are joined by the destructor. Owned by the window (or
// something that lives no longer than it) and used on the UI thread.
class BackgroundTasks {
public:
    explicit BackgroundTasks(wxWindow& owner) : m_handOff(owner) {}

    // work runs on a thread of its own and must not throw; done runs on the UI thread.
    template <class R>
    void run(std::function<R()> work, std::function<void(R)> done) {
        // Held through shared pointers, so done and the value are copied and destroyed only on
        // the UI thread.
        auto continuation = std::make_shared<std::function<void(R)>>(std::move(done));
        m_jobs.start([this, work = std::move(work), continuation]() mutable {
            auto value = std::make_shared<R>(work());
            m_handOff.post([continuation = std::move(continuation), value = std::move(value)] {
                (*continuation)(std::move(*value));
            });
        });
    }

    // Waits until every piece of work started so far has ended (their continuations may still
    // be on their way).
    void waitAll() { m_jobs.waitAll(); }

private:
    UiHandOff m_handOff;
    // After the hand-off: joined before it closes.
    BackgroundJobs m_jobs;
};

}  // namespace tarn
