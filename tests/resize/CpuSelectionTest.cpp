// Build selection: the processor classification, the two selectors, the start-up setting.

#include <gtest/gtest.h>

#include <cstdlib>

#include "resize/CpuSelection.h"
#include "resize/ImageResize.h"
#include "resize/generic/GenericBuild.h"
#if QUENLO_RESIZE_SIMD
#include "resize/sse/SseBuild.h"
#include "resize/sse2/Sse2Build.h"
#include "resize/sse3/Sse3Build.h"
#endif

using namespace resize;

namespace {

constexpr std::uint32_t Mmx = 1u << 23;
constexpr std::uint32_t Sse = 1u << 25;
constexpr std::uint32_t Sse2 = 1u << 26;
constexpr std::uint32_t HyperThreading = 1u << 28;
constexpr std::uint32_t Sse3 = 1u << 0;
constexpr std::uint32_t LongMode = 1u << 29;

CpuidSnapshot Snapshot(std::uint32_t family, std::uint32_t edx, std::uint32_t ecx = 0,
                       std::uint32_t logicalProcessors = 1, std::uint32_t highestExtendedLeaf = 0x80000008u,
                       std::uint32_t extendedEdx = 0) {
    CpuidSnapshot s;
    s.hasCpuid = true;
    s.leaf1Eax = (family << 8) | 0x3;  // stepping bits and extended fields play no part
    s.leaf1Ebx = logicalProcessors << 16;
    s.leaf1Ecx = ecx;
    s.leaf1Edx = edx;
    s.highestExtendedLeaf = highestExtendedLeaf;
    s.extendedLeaf1Edx = extendedEdx;
    return s;
}

struct ClassifyCase {
    const char* name;
    CpuidSnapshot snapshot;
    CpuType expected;
};

class ClassifyCpuTable : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyCpuTable, GivesTheFamilysType) {
    EXPECT_EQ(ClassifyCpu(GetParam().snapshot), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Families, ClassifyCpuTable,
    ::testing::Values(
        ClassifyCase{"NoCpuid", CpuidSnapshot{}, 0},
        ClassifyCase{"Family7", Snapshot(7, 0), 16},
        ClassifyCase{"Family15WithoutSse2", Snapshot(15, Mmx | Sse), 17},
        ClassifyCase{"Family15Sse3AndLongMode", Snapshot(15, Sse | Sse2, Sse3, 1, 0x80000008u, LongMode), 32},
        ClassifyCase{"Family15Sse3LongModeBitWithoutTheLeaf", Snapshot(15, Sse | Sse2, Sse3, 1, 0x80000000u, LongMode), 8},
        ClassifyCase{"Family15Sse3Alone", Snapshot(15, Sse | Sse2, Sse3), 8},
        ClassifyCase{"Family15HyperThreadingTwoLogical", Snapshot(15, Sse2 | HyperThreading, 0, 2), 7},
        ClassifyCase{"Family15HyperThreadingOneLogical", Snapshot(15, Sse2 | HyperThreading, 0, 1), 6},
        ClassifyCase{"Family15TwoLogicalWithoutHyperThreading", Snapshot(15, Sse2, 0, 2), 6},
        ClassifyCase{"Family5Mmx", Snapshot(5, Mmx), 2},
        ClassifyCase{"Family5", Snapshot(5, 0), 1},
        ClassifyCase{"Family6Sse2", Snapshot(6, Mmx | Sse | Sse2), 9},
        ClassifyCase{"Family6Sse", Snapshot(6, Mmx | Sse), 5},
        ClassifyCase{"Family6Mmx", Snapshot(6, Mmx), 4},
        ClassifyCase{"Family6", Snapshot(6, 0), 3},
        ClassifyCase{"Family4", Snapshot(4, Mmx | Sse | Sse2), 0},
        ClassifyCase{"Family14", Snapshot(14, Sse2, Sse3), 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Every test leaves the generic build selected, as the program starts.
class BuildSelection : public ::testing::Test {
protected:
    void TearDown() override { ResizeVariantIndex.store(1); }
};

#if QUENLO_RESIZE_SIMD
TEST_F(BuildSelection, SseTypesRunTheSseBuildOthersDoNot) {
    for (CpuType type : {5, 16, 17}) {
        ASSERT_EQ(SelectResizeVariantForCpu(type), StatusOk) << type;
        EXPECT_EQ(ResizeVariantIndex.load(), 2) << type;
        EXPECT_EQ(SelectedResizeRoutine(), sse::Resize_8u_C3R) << type;
    }
    for (CpuType type : {6, 7, 9, 8, 32, 0, 4}) {
        ASSERT_EQ(SelectResizeVariantForCpu(type), StatusOk) << type;
        EXPECT_NE(SelectedResizeRoutine(), sse::Resize_8u_C3R) << type;
    }
}

TEST_F(BuildSelection, Sse3ClassTypesRunTheSse3ClassBuild) {
    for (CpuType type : {8, 32}) {
        ASSERT_EQ(SelectResizeVariantForCpu(type), StatusOk) << type;
        EXPECT_EQ(ResizeVariantIndex.load(), 4) << type;
        EXPECT_EQ(SelectedResizeRoutine(), &sse3::Engine::Resize_8u_C3R) << type;
    }
}

TEST_F(BuildSelection, Sse2TypesRunTheSse2Build) {
    for (CpuType type : {6, 7, 9}) {
        ASSERT_EQ(SelectResizeVariantForCpu(type), StatusOk) << type;
        EXPECT_EQ(ResizeVariantIndex.load(), 3) << type;
        EXPECT_EQ(SelectedResizeRoutine(), sse2::Resize_8u_C3R) << type;
    }
}
#endif

TEST_F(BuildSelection, TypesMapToTheirSlots) {
    const struct {
        CpuType type;
        std::int32_t slot;
    } cases[] = {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 2}, {16, 2}, {17, 2}, {6, 3},
                 {7, 3}, {9, 3}, {8, 4}, {32, 4}, {-1, 0}, {99, -2}, {10, -2}, {-2, -2}};
    for (const auto& c : cases) {
        EXPECT_EQ(SlotForCpuType(c.type), c.slot) << c.type;
    }
}

TEST_F(BuildSelection, AnUnknownTypeGives21AndKeepsTheSlot) {
    ASSERT_EQ(SelectResizeVariantForCpu(4), StatusOk);
    EXPECT_EQ(SelectResizeVariantForCpu(99), StatusUnknownCpuType);
    EXPECT_EQ(ResizeVariantIndex.load(), 1);
}

TEST_F(BuildSelection, SlotZeroAndEmptySlotsRunTheGenericBuild) {
    ASSERT_EQ(SelectResizeVariantForCpu(-1), StatusOk);
    EXPECT_EQ(ResizeVariantIndex.load(), 0);
    EXPECT_EQ(SelectedResizeRoutine(), generic::Resize_8u_C3R);
    for (std::int32_t slot = 0; slot < ResizeDispatchSlots; ++slot) {
        ResizeVariantIndex.store(slot);
        const ResizeRoutine expected = ResizeDispatchTable[slot] != nullptr ? ResizeDispatchTable[slot] : generic::Resize_8u_C3R;
        EXPECT_EQ(SelectedResizeRoutine(), expected) << slot;
    }
    ResizeVariantIndex.store(7);
    EXPECT_EQ(SelectedResizeRoutine(), generic::Resize_8u_C3R);
    // A call through slot 0 answers as the generic build does.
    std::uint8_t pixel[3] = {1, 2, 3};
    std::uint8_t out[12] = {};
    ResizeVariantIndex.store(0);
    EXPECT_EQ(ImageResize_8u_C3R(pixel, {1, 1}, 3, {0, 0, 1, 1}, out, 6, {2, 2}, 2.0, 2.0, InterpNearest), StatusOk);
    EXPECT_EQ(out[9], 1);
}

TEST_F(BuildSelection, ABuildTheProcessorCannotRunGives20AndSlotOne) {
    const CpuidSnapshot withoutSse2 = Snapshot(6, Mmx | Sse);
    for (CpuType type : {5, 16, 17, 6, 7, 9, 8, 32}) {
        ResizeVariantIndex.store(0);
        EXPECT_EQ(SelectResizeVariantForCpu(type, withoutSse2), StatusCpuNotSupported) << type;
        EXPECT_EQ(ResizeVariantIndex.load(), 1) << type;
    }
    EXPECT_EQ(SelectResizeVariantForCpu(3, withoutSse2), StatusOk);
    EXPECT_EQ(SelectResizeVariantForCpu(-1, CpuidSnapshot{}), StatusOk);
    EXPECT_EQ(ResizeVariantIndex.load(), 0);
}

// A program built without the SIMD builds runs the generic build where the type names one.
TEST_F(BuildSelection, AutoSelectsTheSlotOfThisProcessorsType) {
    const std::int32_t expected = SlotForCpuType(ClassifyCpu());
    const bool present = expected < 2 || ResizeDispatchTable[expected] != nullptr;
    ASSERT_EQ(SelectResizeBuild("auto"), present ? StatusOk : StatusCpuNotSupported);
    EXPECT_EQ(ResizeVariantIndex.load(), !present || expected < 1 ? 1 : expected);
}

// An unknown name runs the generic build, whatever ran before, and says so once, on standard
// error and in the notice the program puts into its trace.
TEST_F(BuildSelection, TheStartUpSettingSelectsByNameAndABogusOneRunsTheGenericBuildWithANotice) {
    // Without the SIMD builds in the program, naming one is like naming a build the processor
    // cannot run.
    const std::int32_t simd = QUENLO_RESIZE_SIMD ? 0 : 1;
    const char* const cannotRun = QUENLO_RESIZE_SIMD ? nullptr : ": this processor cannot run that build";
    const struct {
        const char* value;
        std::int32_t slot;
        const char* notice;  // what the notice says after the setting, or nullptr for none
    } cases[] = {{"bogus", 1, " names no build"},
                 {"", 1, nullptr},
                 {"SSE", 1, " names no build"},
                 {"sse", simd ? 1 : 2, cannotRun},
                 {"sse2", simd ? 1 : 3, cannotRun},
                 {"sse3", simd ? 1 : 4, cannotRun},
                 {"generic", 1, nullptr}};
    for (const auto& c : cases) {
        ResizeVariantIndex.store(3);
        ASSERT_EQ(setenv("QUENLO_RESIZE_BUILD", c.value, 1), 0);
        ::testing::internal::CaptureStderr();
        SelectResizeBuildFromEnvironment();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(ResizeVariantIndex.load(), c.value[0] == '\0' ? 3 : c.slot) << c.value;
        const std::string notice = ResizeBuildSelectionNotice();
        if (c.notice != nullptr) {
            EXPECT_EQ(said, notice + "\n") << c.value;
            EXPECT_EQ(notice.find(std::string("QUENLO_RESIZE_BUILD=") + c.value + c.notice), 0u) << notice;
            EXPECT_NE(notice.find("the generic build runs"), std::string::npos) << notice;
        } else {
            EXPECT_EQ(said, "") << c.value;
            EXPECT_EQ(notice, "") << c.value;
        }
    }
    unsetenv("QUENLO_RESIZE_BUILD");
    ResizeVariantIndex.store(1);
    SelectResizeBuildFromEnvironment();
    EXPECT_EQ(ResizeVariantIndex.load(), 1);
    EXPECT_EQ(ResizeBuildSelectionNotice(), "");
    EXPECT_EQ(SelectResizeBuild("bogus"), StatusUnknownCpuType);
}

}  // namespace
