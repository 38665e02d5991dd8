#include "config/ConfigWorkingSet.h"

#include <algorithm>

#include "session/AppData.h"

namespace config {

namespace {

std::span<const std::uint8_t> Block(const session::SysCfgBlocks& blocks, std::uint8_t option, bool newPppoe) {
    // SysCfgBlock only hands out writable spans; the blocks are not changed here.
    return session::SysCfgBlock(const_cast<session::SysCfgBlocks&>(blocks), option, newPppoe);
}

}  // namespace

ConfigWorkingSet::ConfigWorkingSet(session::AppData& app) : ConfigWorkingSet(app, DeviceFacts::From(app)) {}

ConfigWorkingSet::ConfigWorkingSet(session::AppData& app, DeviceFacts facts)
    : app_(app), facts_(std::move(facts)), loaded_(app.SysCfg.Get()), working_(loaded_) {}

std::span<std::uint8_t> ConfigWorkingSet::Working(std::uint8_t option) {
    return session::SysCfgBlock(working_, option, facts_.UsesNewPppoeLayout());
}

std::span<const std::uint8_t> ConfigWorkingSet::Working(std::uint8_t option) const {
    return Block(working_, option, facts_.UsesNewPppoeLayout());
}

std::span<const std::uint8_t> ConfigWorkingSet::Loaded(std::uint8_t option) const {
    return Block(loaded_, option, facts_.UsesNewPppoeLayout());
}

bool ConfigWorkingSet::Changed(std::uint8_t option) const {
    const auto working = Working(option);
    const auto loaded = Loaded(option);
    return !std::equal(working.begin(), working.end(), loaded.begin(), loaded.end());
}

bool ConfigWorkingSet::ChangedSince(const session::SysCfgBlocks& earlier, std::uint8_t option) const {
    const auto working = Working(option);
    const auto before = Block(earlier, option, facts_.UsesNewPppoeLayout());
    return !std::equal(working.begin(), working.end(), before.begin(), before.end());
}

void ConfigWorkingSet::Commit(std::uint8_t option) {
    const auto working = Working(option);
    if (working.empty())
        return;
    const bool newPppoe = facts_.UsesNewPppoeLayout();
    std::ranges::copy(working, session::SysCfgBlock(loaded_, option, newPppoe).begin());
    app_.SysCfg.Update([&](session::SysCfgBlocks& blocks) {
        std::ranges::copy(working, session::SysCfgBlock(blocks, option, newPppoe).begin());
    });
}

void ConfigWorkingSet::ClearLoadedBytes(std::uint8_t option, std::span<const std::size_t> offsets) {
    const bool newPppoe = facts_.UsesNewPppoeLayout();
    for (auto* blocks : {&loaded_, &working_}) {
        const auto block = session::SysCfgBlock(*blocks, option, newPppoe);
        for (std::size_t offset : offsets)
            if (offset < block.size())
                block[offset] = 0;
    }
}

const BlockField* ConfigWorkingSet::Field(std::uint8_t option, std::string_view name) const {
    return FindField(option, name, facts_);
}

std::int64_t ConfigWorkingSet::Number(std::uint8_t option, std::string_view name, std::size_t index) const {
    const BlockField* field = Field(option, name);
    return field ? ReadNumber(Working(option), *field, index) : 0;
}

std::string ConfigWorkingSet::Text(std::uint8_t option, std::string_view name, std::size_t index) const {
    const BlockField* field = Field(option, name);
    return field ? ReadText(Working(option), *field, index) : std::string();
}

FieldStatus ConfigWorkingSet::Write(std::uint8_t option, std::string_view name, std::size_t index,
                                    const FieldValue& value) {
    const BlockField* field = Field(option, name);
    return field ? WriteField(Working(option), *field, index, value) : FieldStatus::OutsideBlock;
}

}  // namespace config
