// resize-tool: one entry call on a PPM picture, its status line and its output picture.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>

#include "platform/AtomicFile.h"
#include "resize/CpuSelection.h"
#include "resize/ImageResize.h"
#include "support/TempFolder.h"
#include "tools/resize-tool/PpmImage.h"
#include "tools/resize-tool/ResizeToolCommand.h"

namespace fs = std::filesystem;

namespace {

class ResizeTool : public ::testing::Test {
protected:
    void SetUp() override {
        // 2 x 2: red, green / blue, white
        const std::string picture = std::string("P6\n# made by hand\n2 2\n255\n") +
                                    std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\xFF\xFF\xFF", 12);
        ASSERT_TRUE(platform::ReplaceFileAtomically(input, picture));
    }

    int Run(std::vector<std::string> options) {
        std::vector<std::string> args = {input.string(), output.string()};
        args.insert(args.end(), options.begin(), options.end());
        out.str("");
        err.str("");
        return resizetool::RunResizeTool(args, out, err);
    }

    std::string Output() {
        std::string bytes;
        EXPECT_TRUE(platform::ReadWholeFile(output, bytes));
        return bytes;
    }

    testutil::TempFolder folder;
    const fs::path input = folder.path() / "in.ppm";
    const fs::path output = folder.path() / "out.ppm";
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ResizeTool, DoublesAPictureWithNearestAndWritesIt) {
    ASSERT_EQ(Run({"--roi", "0,0,2,2", "--dst", "4,4", "--xf", "2", "--yf", "0x1p1", "--interp", "1"}), 0);
    EXPECT_EQ(out.str(), "status 0 StatusOk\n");
    resizetool::PpmImage result;
    std::string error;
    ASSERT_TRUE(resizetool::ReadPpm(output, result, error)) << error;
    ASSERT_EQ(result.width, 4);
    ASSERT_EQ(result.height, 4);
    EXPECT_EQ(result.pixels[0], 0xFF);                // red at (0, 0) and (1, 1)
    EXPECT_EQ(result.pixels[(4 + 1) * 3 + 1], 0x00);
    EXPECT_EQ(result.pixels[(3 * 4 + 3) * 3 + 2], 0xFF);  // white at (3, 3)
}

TEST_F(ResizeTool, ARefusedCallExitsNonZeroWithTheStatusNameAndWritesNoFile) {
    struct Case {
        std::vector<std::string> args;
        const char* statusLine;
    };
    const Case cases[] = {
        {{"--roi", "0,0,2,2", "--dst", "4,4", "--xf", "2", "--yf", "2", "--interp", "3"},
         "status -22 StatusBadInterpolation\n"},
        {{"--roi", "0,0,2,2", "--dst", "4,4", "--xf", "2", "--yf", "2", "--interp", "8"},
         "status -22 StatusBadInterpolation\n"},
        {{"--roi", "0,0,2,2", "--dst", "3,2", "--xf", "nan", "--yf", "1", "--interp", "2"},
         "status -23 StatusBadFactor\n"},
        {{"--roi", "-1,0,2,2", "--dst", "1,1", "--xf", "1", "--yf", "1", "--interp", "9"}, "status -6 StatusBadSize\n"},
        {{"--roi", "2,0,2,2", "--dst", "1,1", "--xf", "1", "--yf", "1", "--interp", "1"},
         "status 29 StatusOutsideSource\n"},
        {{"--roi", "0,0,2,2", "--dst", "0,5", "--xf", "inf", "--yf", "1", "--interp", "1"},
         "status -14 StatusBadStep\n"},  // step 3 x 0
        {{"--roi", "0,0,2,2", "--dst", "5,-1", "--xf", "1", "--yf", "1", "--interp", "1"}, "status -6 StatusBadSize\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args), 3) << c.statusLine;
        EXPECT_EQ(out.str(), c.statusLine);
        EXPECT_FALSE(fs::exists(output)) << c.statusLine;
    }
}

TEST_F(ResizeTool, HelpSaysWhichPicturesAreRead) {
    ASSERT_EQ(Run({"--help"}), 0);
    EXPECT_NE(out.str().find("8-bit binary PPM (P6, maxval 255)"), std::string::npos) << out.str();
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(ResizeTool, BadArgumentsAreRefusedBeforeTheCall) {
    const std::vector<std::vector<std::string>> bad = {
        {"--roi", "0,0,2", "--dst", "4,4", "--xf", "1", "--yf", "1", "--interp", "1"},
        {"--roi", "0,0,2,2", "--dst", "4,4", "--xf", "1x", "--yf", "1", "--interp", "1"},
        {"--roi", "0,0,2,2", "--dst", "4,4", "--xf", "1", "--yf", "1"},
        {"--roi", "0,0,2,2", "--dst", "4,99999999999", "--xf", "1", "--yf", "1", "--interp", "1"},
        {"--roi", "0,0,2,2", "--dst", "800000000,1", "--xf", "1", "--yf", "1", "--interp", "1"},
        {"--roi", "0,0,2,2", "--dst", "4,4", "--xf", "1", "--yf", "1", "--interp", "1", "--build", "bogus"},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(Run(args), 2) << args[3];
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str(), "");
    }
    EXPECT_FALSE(fs::exists(output));
}

// A cubic enlargement of a random 11 x 9 picture (a source under 4 x 4 would be taken linear,
// the same in every build): each SIMD build's kernels round their vector bodies where the generic
// build truncates, so the bytes tell which build ran. The tool's output must be the named build's
// own slot's; "auto" runs the slot the processor selection picks.
TEST_F(ResizeTool, BuildOptionWritesThatSlotsCubicBytes) {
    constexpr std::int32_t width = 11;
    constexpr std::int32_t height = 9;
    constexpr std::int32_t outWidth = 23;
    constexpr std::int32_t outHeight = 15;
    std::mt19937 random(66);
    std::vector<std::uint8_t> pixels(width * height * 3);
    for (std::uint8_t& p : pixels) {
        p = static_cast<std::uint8_t>(random());
    }
    std::string error;
    ASSERT_TRUE(resizetool::WritePpm(input, width, height, pixels.data(), error)) << error;
    const auto slotBytes = [&](int slot) {
        std::vector<std::uint8_t> bytes(outWidth * outHeight * 3, 0xCD);
        EXPECT_EQ(resize::ResizeDispatchTable[slot](pixels.data(), {width, height}, width * 3, {0, 0, width, height},
                                                    bytes.data(), outWidth * 3, {outWidth, outHeight}, 2.1, 1.7,
                                                    resize::InterpCubic),
                  resize::StatusOk);
        return bytes;
    };
    // Without the SIMD builds in the program, "auto" may name one that is absent: the tool says
    // so and the generic build runs.
    const bool autoRuns = resize::SelectResizeVariant() == resize::StatusOk;
    const int autoSlot = resize::ResizeVariantIndex.load();
    resize::ResizeVariantIndex.store(1);
    const std::vector<std::uint8_t> generic = slotBytes(1);
    std::vector<std::pair<const char*, int>> builds = {{"generic", 1}, {"auto", autoSlot}};
#if QUENLO_RESIZE_SIMD
    builds.insert(builds.end(), {{"sse", 2}, {"sse2", 3}, {"sse3", 4}});
#endif
    for (const auto& [build, slot] : builds) {
        // Each run starts from another build than the one it names.
        resize::ResizeVariantIndex.store(slot == 1 ? resize::ResizeDispatchSlots - 1 : 1);
        ASSERT_EQ(Run({"--roi", "0,0,11,9", "--dst", "23,15", "--xf", "2.1", "--yf", "1.7", "--interp", "4",
                       "--build", build}),
                  0);
        EXPECT_EQ(out.str(), "status 0 StatusOk\n");
        EXPECT_EQ(err.str().empty(), std::string(build) != "auto" || autoRuns) << err.str();
        EXPECT_EQ(resize::ResizeVariantIndex.load(), slot) << build;
        resizetool::PpmImage result;
        ASSERT_TRUE(resizetool::ReadPpm(output, result, error)) << error;
        const std::vector<std::uint8_t> expected = slotBytes(slot);
        if (slot != 1) {
            EXPECT_NE(expected, generic) << build;
        }
        EXPECT_EQ(result.pixels, expected) << build;
    }
    resize::ResizeVariantIndex.store(1);
}

TEST(PpmImage, MalformedFilesGiveAReason) {
    const std::string cases[] = {
        "P3\n1 1\n255\n0 0 0\n",          // ASCII PPM
        "P6\n1 1\n65535\n\0\0\0\0\0\0",   // 16-bit
        "P6\n2 2\n255\n\x01\x02\x03",     // cut short
        "P6\n0 1\n255\n",                 // empty
        "P6\n1 x\n255\n\x01\x02\x03",     // not a number
        "P6\n1 1\n255",                   // no separator
    };
    for (const std::string& bytes : cases) {
        resizetool::PpmImage image;
        std::string error;
        EXPECT_FALSE(resizetool::ParsePpm(bytes, image, error)) << bytes;
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(ResizeTool, UnreadableInputIsAnError) {
    fs::remove(input);
    EXPECT_EQ(Run({"--roi", "0,0,2,2", "--dst", "4,4", "--xf", "2", "--yf", "2", "--interp", "1"}), 1);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
