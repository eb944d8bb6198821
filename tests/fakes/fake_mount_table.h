#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/mount_table.h"

namespace tarn::test {

// A mount table whose text the test sets; announce() plays a change of the system's mounts.
class FakeMountTable final : public platform::MountTable {
public:
    std::string table;

    std::vector<platform::MountedVolume> volumes() const override {
        return platform::volumesFromMountTable(table);
    }
    std::unique_ptr<Watch> watch(std::function<void()> onChange) override {
        return std::make_unique<FakeWatch>(m_watchers, std::move(onChange));
    }

    // Sets the table and tells every watch, as the system's monitor does after a mount.
    void announce(std::string newTable) {
        table = std::move(newTable);
        // A copy: a watcher may end its watch while being told.
        const auto watchers = m_watchers;
        for (const auto& onChange : watchers) {
            onChange();
        }
    }
    std::size_t watchCount() const { return m_watchers.size(); }

private:
    using Watchers = std::list<std::function<void()>>;
    class FakeWatch final : public Watch {
    public:
        FakeWatch(Watchers& watchers, std::function<void()> onChange)
            : m_watchers(watchers), m_at(watchers.insert(watchers.end(), std::move(onChange))) {}
        ~FakeWatch() override { m_watchers.erase(m_at); }

    private:
        Watchers& m_watchers;
        Watchers::iterator m_at;
    };

    Watchers m_watchers;
};

}  // namespace tarn::test
