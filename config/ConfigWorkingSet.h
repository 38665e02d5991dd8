#pragma once
// The configuration sheet's copies of the device's blocks, made when the sheet
// opens: one as loaded, one the pages edit. Pages touch only the working
// copies; Apply stores a block only when its bytes changed and commits it
// after a successful store, into the as-loaded copy and the session's blocks.
// Dropping the set discards every edit: the session's blocks are written by
// Commit alone.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/DeviceFacts.h"
#include "config/blocks/BlockFieldTable.h"
#include "config/blocks/FieldCodec.h"
#include "session/net/OptionBlocks.h"

namespace session {
class AppData;
}

namespace config {

class ConfigWorkingSet {
public:
    // Copies app.SysCfg and the device facts of the login.
    explicit ConfigWorkingSet(session::AppData& app);
    ConfigWorkingSet(session::AppData& app, DeviceFacts facts);
    ConfigWorkingSet(const ConfigWorkingSet&) = delete;
    ConfigWorkingSet& operator=(const ConfigWorkingSet&) = delete;

    const DeviceFacts& Facts() const { return facts_; }

    // The option's block (PPPOE in the device's layout); empty for options not kept.
    std::span<std::uint8_t> Working(std::uint8_t option);
    std::span<const std::uint8_t> Working(std::uint8_t option) const;
    std::span<const std::uint8_t> Loaded(std::uint8_t option) const;

    // The working block's bytes differ from the loaded ones.
    bool Changed(std::uint8_t option) const;
    // The working blocks as they stand, and whether a block moved since such a copy.
    const session::SysCfgBlocks& WorkingBlocks() const { return working_; }
    bool ChangedSince(const session::SysCfgBlocks& earlier, std::uint8_t option) const;
    // After a successful store: the working block becomes the loaded one and
    // replaces the session's copy. Nothing else of the session's blocks moves.
    void Commit(std::uint8_t option);
    // Zeroes bytes of a block in both copies (a fix-up of what was loaded, not an edit).
    void ClearLoadedBytes(std::uint8_t option, std::span<const std::size_t> offsets);

    // Fields of the working copies by option and name (the device's variant).
    const BlockField* Field(std::uint8_t option, std::string_view name) const;
    std::int64_t Number(std::uint8_t option, std::string_view name, std::size_t index = 0) const;
    std::string Text(std::uint8_t option, std::string_view name, std::size_t index = 0) const;
    FieldStatus Write(std::uint8_t option, std::string_view name, std::size_t index, const FieldValue& value);

private:
    session::AppData& app_;
    DeviceFacts facts_;
    session::SysCfgBlocks loaded_;
    session::SysCfgBlocks working_;
};

}  // namespace config
