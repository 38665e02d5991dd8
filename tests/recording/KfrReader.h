#pragma once
// Reads a ".kfr" recording back for the tests: header fields, each frame's
// tag and picture bytes, and the index trailer, checking that the parts fit
// together.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"

namespace testutil {

struct KfrFrame {
    std::uint32_t offset = 0;
    std::uint32_t mask = 0;
    std::uint32_t number = 0;
    std::uint32_t length = 0;
    std::uint16_t width = 0, height = 0;
    std::uint32_t streamTime = 0;
    std::uint8_t channel = 0;
    bool videoLoss = false;
    std::vector<std::uint8_t> jpeg;
};

struct KfrFile {
    std::vector<std::uint8_t> bytes;
    std::uint8_t type = 0;
    std::uint32_t firstTime = 0, lastTime = 0, count = 0;
    std::vector<KfrFrame> frames;
    bool hasTrailer = false;
    std::vector<std::uint32_t> index;
};

// Frames are read from offset 90 as far as whole tagged records go; the
// trailer is taken as present when the last four bytes count entries that
// end exactly where the frames end.
inline KfrFile ReadKfr(const std::filesystem::path& path) {
    KfrFile f;
    std::string content;
    EXPECT_TRUE(platform::ReadWholeFile(path, content)) << path;
    f.bytes.assign(content.begin(), content.end());
    const auto* b = f.bytes.data();
    if (f.bytes.size() < 90) {
        ADD_FAILURE() << path << ": shorter than its header";
        return f;
    }
    EXPECT_EQ(platform::LoadLe16(b), 0x4156);
    f.firstTime = platform::LoadLe32(b + 40);
    f.lastTime = platform::LoadLe32(b + 44);
    f.count = platform::LoadLe32(b + 48);
    f.type = b[59];
    std::size_t at = 90;
    while (at + 31 <= f.bytes.size()) {
        const std::uint32_t mask = platform::LoadLe32(b + at);
        if (mask != 0xE00000FF && mask != 0xE00008FF)
            break;
        KfrFrame fr;
        fr.offset = static_cast<std::uint32_t>(at);
        fr.mask = mask;
        fr.number = platform::LoadLe32(b + at + 4);
        fr.length = platform::LoadLe32(b + at + 8);
        fr.width = platform::LoadLe16(b + at + 12);
        fr.height = platform::LoadLe16(b + at + 14);
        fr.streamTime = platform::LoadLe32(b + at + 16);
        fr.channel = b[at + 20];
        fr.videoLoss = mask & 0x800;
        const std::size_t tag = fr.videoLoss ? 30 : 29;
        if (at + tag + 2 + fr.length > f.bytes.size())
            break;
        fr.jpeg.assign(b + at + tag + 2, b + at + tag + 2 + fr.length);
        f.frames.push_back(std::move(fr));
        at += tag + 2 + f.frames.back().length;
    }
    if (f.bytes.size() >= at + 4) {
        const std::uint32_t n = platform::LoadLe32(b + f.bytes.size() - 4);
        if (at + 8ull * n + 4 == f.bytes.size()) {
            f.hasTrailer = true;
            for (std::uint32_t i = 0; i < n; ++i)
                f.index.push_back(platform::LoadLe32(b + at + 8 * i));
        }
    }
    return f;
}

// Checks a closed recording: count and times in the header, trailer naming every frame, numbers from 1.
inline void ExpectComplete(const KfrFile& f) {
    ASSERT_TRUE(f.hasTrailer);
    ASSERT_EQ(f.count, f.frames.size());
    ASSERT_EQ(f.index.size(), f.frames.size());
    for (std::size_t i = 0; i < f.frames.size(); ++i) {
        EXPECT_EQ(f.frames[i].number, i + 1);
        EXPECT_EQ(f.index[i], f.frames[i].offset);
    }
    if (!f.frames.empty()) {
        EXPECT_EQ(f.firstTime, f.frames.front().streamTime);
        EXPECT_EQ(f.lastTime, f.frames.back().streamTime);
    }
}

}  // namespace testutil
