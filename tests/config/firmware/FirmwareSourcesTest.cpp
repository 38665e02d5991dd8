#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/firmware/FirmwareComponentTable.h"
#include "config/firmware/FirmwareImage.h"
#include "config/firmware/FirmwareRequests.h"
#include "config/firmware/UploadDevice.h"
#include "support/TempFolder.h"

namespace {

using namespace config;
using namespace firmwaretest;
using Bytes = std::vector<std::uint8_t>;

TEST(FirmwareSourcesTest, UploadPathFollowsFamilyAndVersion) {
    struct Case {
        const char* product;
        const char* version;
        std::optional<UploadPath> path;
    };
    const Case cases[] = {
        {"R41T", "1069", UploadPath::DvrChunked},   {"R43T", "1070", UploadPath::DvrStream},
        {"R42T", "107", UploadPath::DvrStream},     {"R47T", "1012", UploadPath::ImageChunked},
        {"R47T", "1013", UploadPath::ImageStream},  {"R47T", "101", UploadPath::ImageStream},
        {"G66M", "9999", UploadPath::ImageChunked}, {"N52H", "1013", UploadPath::ImageChunked},
        {"X11Z", "1070", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseUploadPath(c.product, c.version), c.path) << c.product << " " << c.version;
}

TEST(FirmwareSourcesTest, ImageRecordsSplitFromTheHeaderWords) {
    const Bytes image = Image({{0, 5}, {1, 0}, {4, 3}, {7, 1}});  // a record of length 0 counts
    const FirmwareImage parsed = ParseFirmwareImage(image);
    EXPECT_EQ(parsed.error, 0u);
    EXPECT_EQ(parsed.fileSize, image.size());
    ASSERT_EQ(parsed.records.size(), 4u);
    EXPECT_EQ(parsed.records[0].kind, 0);
    EXPECT_EQ(parsed.records[0].data, Pattern(5, 0));
    EXPECT_TRUE(parsed.records[1].data.empty());
    EXPECT_EQ(parsed.records[2].data, Pattern(3, 4));
    EXPECT_EQ(parsed.records[3].kind, 7);

    EXPECT_EQ(ItemTypeValues(UploadPath::ImageChunked, parsed.records),
              (std::vector<std::string>{"BOOT", "KERNEL", "HTML", "HTML"}));
    EXPECT_EQ(ItemTypeValues(UploadPath::ImageStream, parsed.records),
              (std::vector<std::string>{"1", "0", "2", "2"}));
    EXPECT_EQ(ItemTypeValues(UploadPath::ImageStream, {{9, {}}}), std::vector<std::string>{"0"});
    EXPECT_EQ(ItemTypeValues(UploadPath::ImageChunked, {{9, {}}}), std::vector<std::string>{""});
}

TEST(FirmwareSourcesTest, DamagedImagesAreRefusedWhole) {
    Bytes truncatedRecord = Image({{1, 10}, {4, 10}});
    truncatedRecord.pop_back();
    Bytes truncatedHeader = Image({{1, 2}});
    truncatedHeader.push_back(0x10);
    Bytes hugeLength = {0xF1, 0xFF, 0xFF, 0xFF, 1, 2, 3};
    for (const Bytes& image : {Bytes{}, truncatedRecord, truncatedHeader, hugeLength}) {
        const FirmwareImage parsed = ParseFirmwareImage(image);
        EXPECT_EQ(parsed.error, kFirmwareReadFailed) << image.size();
        EXPECT_TRUE(parsed.records.empty());
    }
}

TEST(FirmwareSourcesTest, ImageFileThatCannotBeOpenedOrReadGivesItsMessage) {
    testutil::TempFolder folder;
    EXPECT_EQ(LoadFirmwareImage(folder.path() / "UnKnownKERNEL.BIN").error, kFirmwareOpenFailed);
    EXPECT_EQ(LoadFirmwareImage(folder.path()).error, kFirmwareReadFailed);  // a folder
    WriteFile(folder.path() / "KERNEL.BIN", Image({{1, 1000}}));
    const FirmwareImage loaded = LoadFirmwareImage(folder.path() / "KERNEL.BIN");
    EXPECT_EQ(loaded.error, 0u);
    EXPECT_EQ(loaded.fileSize, 1004u);
    ASSERT_EQ(loaded.records.size(), 1u);
}

TEST(FirmwareSourcesTest, ComponentTablesDifferInTheKernelRowOnly) {
    const auto r41 = ComponentTableFor("R41T");
    const auto r43 = ComponentTableFor("R43T");
    ASSERT_TRUE(r41 && r43 && ComponentTableFor("R42T"));
    EXPECT_FALSE(ComponentTableFor("R47T"));
    EXPECT_EQ((*r41)[0], "KERNEL16.BIN");
    EXPECT_EQ((*ComponentTableFor("R42T"))[0], "KERNEL8.BIN");
    EXPECT_EQ((*r43)[0], "KERNEL4.BIN");
    const std::vector<std::string> rest(r41->begin() + 1, r41->end());
    EXPECT_EQ(rest, (std::vector<std::string>{"BOOT.BIN", "MCU.BIN", "QX519.BIN", "QX520.BIN", "HTML.BIN",
                                              "LANGU1.GZ", "LANGU2.GZ", "LANGU3.GZ", "LANGU4.GZ", "LANGU5.GZ",
                                              "LANGU6.GZ", "LANGU7.GZ", "LANGU8.GZ", "LANGU9.GZ", "LANGU10.GZ",
                                              "LANGU11.GZ", "LANGU12.GZ", "PLAYER.BIN"}));
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), r43->begin() + 1));
}

TEST(FirmwareSourcesTest, ComponentFolderMatchesNamesInAnyCasePreferringTheExactOne) {
    testutil::TempFolder folder;
    const auto table = *ComponentTableFor("R42T");
    WriteFile(folder.path() / "boot.bin", Bytes(7, 1));
    WriteFile(folder.path() / "Langu12.gz", Bytes(3, 2));
    WriteFile(folder.path() / "PLAYER.BIN", Bytes(2, 3));
    WriteFile(folder.path() / "player.bin", Bytes(9, 4));
    WriteFile(folder.path() / "KERNEL16.BIN", Bytes(5, 5));  // another model's kernel
    std::filesystem::create_directory(folder.path() / "MCU.BIN");  // not a file
    const ComponentFolder loaded = LoadComponentFolder(folder.path(), table);
    EXPECT_EQ(loaded.error, 0u);
    ASSERT_EQ(loaded.items.size(), 3u);
    EXPECT_EQ(loaded.items[0].kind, 1);
    EXPECT_EQ(loaded.items[0].data, Bytes(7, 1));
    EXPECT_EQ(loaded.items[1].kind, 17);
    EXPECT_EQ(loaded.items[2].kind, 18);
    EXPECT_EQ(loaded.items[2].data, Bytes(2, 3));
    EXPECT_EQ(loaded.totalSize, 12u);
}

TEST(FirmwareSourcesTest, FolderWithoutAnyComponentGivesItsMessage) {
    testutil::TempFolder folder;
    WriteFile(folder.path() / "KERNEL.BIN", Bytes(4, 1));
    const auto table = *ComponentTableFor("R41T");
    for (const std::filesystem::path& path : {folder.path(), folder.path() / "missing", std::filesystem::path()}) {
        const ComponentFolder loaded = LoadComponentFolder(path, table);
        EXPECT_EQ(loaded.error, kFirmwareFolderEmpty) << path;
        EXPECT_TRUE(loaded.items.empty());
    }
}

TEST(FirmwareSourcesTest, ImageVersionIsShownWithPoints) {
    EXPECT_EQ(FormatImageVersion("1013"), "1.0.1.3");
    EXPECT_EQ(FormatImageVersion("10130"), "1.0.1.3");
    EXPECT_EQ(FormatImageVersion("101"), "1.0.1");
    EXPECT_EQ(FormatImageVersion(""), "");
}

}  // namespace
