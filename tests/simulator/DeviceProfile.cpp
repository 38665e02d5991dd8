#include "simulator/DeviceProfile.h"

#include <algorithm>

#include "simulator/FilledBlocks.h"

namespace devicesim {

int OptionByName(std::string_view name) {
    for (std::size_t i = 0; i < kOptionBlocks.size(); ++i)
        if (kOptionBlocks[i].name == name)
            return static_cast<int>(i);
    return -1;
}

DeviceProfile DeviceProfile::ForProduct(std::string_view productId) {
    DeviceProfile profile;
    profile.productId = std::string(productId);
    if (productId == "R47T") {
        profile.firmwareVersion = "1007";
        profile.hostName = "VIDEOSERVER";
    } else if (productId == "N51H" || productId == "N52H" || productId == "N53H") {
        profile.firmwareVersion = "1010";
        profile.hostName = "NVS";
    } else if (productId == "G66M") {
        profile.firmwareVersion = "1010";
        profile.hostName = "CAMERA";
    }
    FillBlocks(profile);
    return profile;
}

std::optional<int> DeviceProfile::ValueOf(const KeyValues& items, std::string_view key) {
    for (const auto& [name, value] : items)
        if (name == key)
            return value;
    return std::nullopt;
}

bool DeviceProfile::UsesShortBlockOrder() const {
    return productId == "R47T" || productId == "N51H" || productId == "N52H" || productId == "N53H" ||
           productId == "G66M";
}

void DeviceProfile::SetCapability(std::uint32_t word) {
    Bytes block = Block(0);
    for (int i = 0; i < 4; ++i)
        block[20 + i] = static_cast<std::uint8_t>(word >> (8 * i));
    blocks[0] = std::move(block);
}

Bytes DeviceProfile::Block(int option) const {
    if (auto found = blocks.find(option); found != blocks.end())
        return found->second;
    if (option == kOptionOnline || option < 0 || option >= kOptionAll)
        return {};
    return Bytes(kOptionBlocks[option].size, 0);
}

std::vector<int> DeviceProfile::BlockOrder() const {
    std::vector<int> order{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    if (UsesShortBlockOrder())
        order.push_back(16);
    else
        order.insert(order.end(), {13, 14, 15});
    return order;
}

Bytes DeviceProfile::AllBlocks() const {
    Bytes all;
    for (int option : BlockOrder()) {
        // Each fixed block takes exactly its size, whatever was stored for it.
        Bytes block = Block(option);
        block.resize(kOptionBlocks[option].size, 0);
        all.insert(all.end(), block.begin(), block.end());
    }
    Bytes online = Block(kOptionOnline);
    all.insert(all.end(), online.begin(), online.end());
    return all;
}

std::string PadItems(std::string text, std::size_t length) {
    for (int n = 0; text.size() < length; ++n) {
        std::string item = "PAD" + std::to_string(n) + "=";
        const std::size_t room = length - text.size();
        if (room < item.size() + 2) {
            text.append(room, ';');  // too little room for one more item
            break;
        }
        item.append(std::min<std::size_t>(room - item.size() - 1, 40), 'x').append(";");
        text.append(item);
    }
    return text;
}

namespace {

void AddItem(std::string& text, std::string_view key, const std::string& value) {
    text.append(key).append("=").append(value).append(";");
}

void AddItem(std::string& text, std::string_view key, int value) {
    AddItem(text, key, std::to_string(value));
}

}  // namespace

std::string DeviceProfile::LoginItems() const {
    std::string text;
    AddItem(text, "Session-ID", sessionId);
    AddItem(text, "Firmware-Version", firmwareVersion);
    AddItem(text, "Product-ID", productId);
    AddItem(text, "MAC-Address", macAddress);
    AddItem(text, "Host-Name", hostName);
    return text;
}

std::string DeviceProfile::DeviceInfoItems() const {
    std::string text;
    if (lifetime)
        AddItem(text, "LIFETIME", *lifetime);
    if (multiChannel)
        AddItem(text, "MULTICH", *multiChannel);
    if (linkDevice) {
        AddItem(text, "LINKDEVICE", *linkDevice);
    } else if (!masters.empty()) {
        AddItem(text, "MASTERNUM", static_cast<int>(masters.size()));
        for (const auto& master : masters) {
            AddItem(text, "MID", master.address);
            AddItem(text, "MTYPE", master.type);
        }
    }
    if (retr)
        AddItem(text, "RETR", *retr);
    if (videoMode)
        AddItem(text, "VIDEOMODE", *videoMode);
    if (userLevel)
        AddItem(text, "USERLEVEL", *userLevel);
    if (bootVersion)
        AddItem(text, "Boot-Version", *bootVersion);
    if (version2041)
        AddItem(text, "2041-Version", *version2041);
    if (fpgaVersion)
        AddItem(text, "FPGA-Version", *fpgaVersion);
    if (!slaves.empty()) {
        AddItem(text, "SLAVENUM", static_cast<int>(slaves.size()));
        for (const auto& slave : slaves) {
            AddItem(text, "SID", slave.address);
            AddItem(text, "STYPE", slave.type);
            AddItem(text, "SPROTOCOL", slave.protocol);
        }
    }
    return PadItems(std::move(text), deviceInfoLength);
}

}  // namespace devicesim
