#pragma once

#include <optional>
#include <string>

#include "platform/special_folders.h"

namespace tarn::test {

// Special folders with answers set by the test.
class FakeSpecialFolders final : public platform::SpecialFolders {
public:
    std::optional<std::string> config;
    std::optional<std::string> pictures;
    std::optional<std::string> home;
    std::optional<std::string> program = std::string("/opt/tarn/bin/tarnview");

    std::optional<std::string> configFolder() const override { return config; }
    std::optional<std::string> picturesFolder() const override { return pictures; }
    std::optional<std::string> homeFolder() const override { return home; }
    std::optional<std::string> programFile() const override { return program; }
};

}  // namespace tarn::test
