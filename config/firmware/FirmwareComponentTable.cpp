#include "config/firmware/FirmwareComponentTable.h"

#include <utility>

#include "config/firmware/FirmwareFile.h"
#include "platform/FindFile.h"

namespace config {

namespace {

constexpr std::pair<std::string_view, std::string_view> kKernelByModel[] = {
    {"R41T", "KERNEL16.BIN"},
    {"R42T", "KERNEL8.BIN"},
    {"R43T", "KERNEL4.BIN"},
};

}  // namespace

std::optional<FirmwareComponentTable> ComponentTableFor(std::string_view productId) {
    for (const auto& [model, kernel] : kKernelByModel) {
        if (model != productId)
            continue;
        FirmwareComponentTable table;
        table[0] = kernel;
        table[1] = "BOOT.BIN";
        table[2] = "MCU.BIN";
        table[3] = "QX519.BIN";
        table[4] = "QX520.BIN";
        table[5] = "HTML.BIN";
        for (int n = 1; n <= 12; ++n)
            table[5 + n] = "LANGU" + std::to_string(n) + ".GZ";
        table[18] = "PLAYER.BIN";
        return table;
    }
    return std::nullopt;
}

ComponentFolder LoadComponentFolder(const std::filesystem::path& folder, const FirmwareComponentTable& table) {
    ComponentFolder loaded;
    for (std::size_t row = 0; !folder.empty() && row < table.size(); ++row) {
        const auto path = platform::FindPathIgnoringCase(folder, table[row]);
        FirmwareItem item{static_cast<std::uint8_t>(row), {}};
        if (!path || ReadFirmwareFile(*path, item.data) != FirmwareFileRead::Ok)
            continue;
        loaded.totalSize += item.data.size();
        loaded.items.push_back(std::move(item));
    }
    if (loaded.items.empty())
        loaded.error = kFirmwareFolderEmpty;
    return loaded;
}

}  // namespace config
