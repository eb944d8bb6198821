#include "app/background_task.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/thread.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "ui_test_support.h"

namespace tarn {
namespace {

using test::pumpEvents;
using test::waitFor;

// Holds the work until the test opens it.
class Gate {
public:
    void open() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    void pass() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};

TEST(BackgroundTasks, ResultsComeBackOnTheUiThreadAndAreDroppedWhenTheWindowHasGone) {
    auto* kept = new wxFrame(nullptr, wxID_ANY, "kept");
    auto* closed = new wxFrame(nullptr, wxID_ANY, "closed");
    std::vector<std::string> done;
    bool onUiThread = true;
    {
        BackgroundTasks keptTasks(*kept);
        // Outlives its window, as work started for a window that closes meanwhile does.
        BackgroundTasks closedTasks(*closed);
        Gate gate;
        keptTasks.run<std::string>(
            [&gate] {
                gate.pass();
                return std::string("made");
            },
            [&](std::string value) {
                onUiThread = onUiThread && wxIsMainThread();
                done.push_back("kept " + value);
            });
        // Finished before the window goes, so its continuation is already on its way.
        closedTasks.run<int>([] { return 7; },
                             [&](int value) { done.push_back("closed " + std::to_string(value)); });
        closedTasks.waitAll();
        closed->Destroy();
        pumpEvents();
        EXPECT_TRUE(done.empty());
        gate.open();
        EXPECT_TRUE(waitFor([&] { return !done.empty(); }));
        EXPECT_EQ(done, std::vector<std::string>{"kept made"});
        EXPECT_TRUE(onUiThread);

        // The owner goes before the result is handled: dropped, though the window is there.
        keptTasks.run<int>([] { return 1; }, [&](int) { done.push_back("late"); });
    }
    pumpEvents();
    EXPECT_EQ(done, std::vector<std::string>{"kept made"});
    kept->Destroy();
    pumpEvents();
}

}  // namespace
}  // namespace tarn
