#include "config/sheet/PageTree.h"

#include "session/DeviceFamily.h"

namespace config {

namespace {

using namespace caption;

constexpr PageTreeTable kDvrTable{{
    {kNetwork, {}, {}},
    {kDdns, kNetwork, {}},
    {kMail, kNetwork, {}},
    {kFtp, kNetwork, {}},
    {kSntp, kNetwork, {}},
    {kCamera, {}, "DVR-KAMERA"},
    {kDevice, kCamera, "DVR-Urządz."},
    {kDetection, kCamera, "DVR-Detekcja "},
    {kDownload, kCamera, "DVR-Archiwizacja  "},
    {kEvent, kCamera, "DVR-Wyszukiwan."},
    {kTimerRecord, kCamera, "DVR-Terminarze  "},
    {kDvrDate, kCamera, "DVR-Data"},
    {kDvrRecord, kCamera, "DVR-Zapis "},
    {kAlarm, {}, {}},
    {kAlarmData, kAlarm, {}},
    {kToolBox, {}, {}},
    {kAccount, kToolBox, {}},
    {kPeripheral, kToolBox, {}},
    {kOnlineUsers, kToolBox, {}},
    {kRecordPaths, kToolBox, {}},
}};

// Video servers, N5H and G66M devices: the same rows without frame titles.
PageTreeTable WithoutFrameTitles(PageTreeTable table) {
    for (auto& row : table)
        row.frameTitle.reset();
    return table;
}
const PageTreeTable kOtherTable = WithoutFrameTitles(kDvrTable);

int FindRow(const PageTreeTable& table, std::string_view name) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].name == name)
            return static_cast<int>(i);
    return -1;
}

std::string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && text.substr(i + 1, 1) == "\\") {
            out += '\\';
            ++i;
        } else if (text[i] == '\\' && text.substr(i + 1, 2) == "::") {
            out += "::";
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

const PageTreeTable& PageTreeTableFor(std::string_view productId) {
    if (session::IsVideoServerFamily(productId) || session::IsN5HFamily(productId) ||
        session::IsG66MFamily(productId))
        return kOtherTable;
    return kDvrTable;
}

std::string_view BannerTextFor(std::string_view productId) {
    if (productId == "R47T" || productId == "G66M")
        return "Video Server";
    if (productId == "R41T")
        return "16CH DVR";
    if (productId == "R42T")
        return "8CH DVR";
    if (productId == "R43T")
        return "4CH DVR";
    if (session::IsN5HFamily(productId))
        return "DVR Setting";
    return {};
}

std::pair<std::string, std::string> SplitPageTreePath(std::string_view path) {
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\') {
            ++backslashes;
            continue;
        }
        if (path.substr(i, 2) == "::" && backslashes % 2 == 0)
            return {Unescape(path.substr(0, i)), std::string(path.substr(i + 2))};
        backslashes = 0;
    }
    return {Unescape(path), std::string()};
}

int CreatePageTreeItem(std::vector<PageTreeItem>& items, std::string_view path, int parent) {
    std::string rest(path);
    do {
        auto [segment, after] = SplitPageTreePath(rest);
        int found = -1;
        for (std::size_t i = 0; i < items.size() && found < 0; ++i)
            if (items[i].parent == parent && items[i].text == segment)
                found = static_cast<int>(i);
        if (found < 0) {
            items.push_back({segment, parent, -1, {}});
            found = static_cast<int>(items.size() - 1);
        }
        parent = found;
        rest = std::move(after);  // always shorter: the splitter consumed at least the segment or "::"
    } while (!rest.empty());
    return parent;
}

std::vector<PageTreeItem> BuildPageTree(const PageTreeTable& table, const std::vector<std::string>& captions) {
    std::vector<PageTreeItem> items;
    std::array<int, std::tuple_size_v<PageTreeTable>> rowItem;
    rowItem.fill(-1);
    for (std::size_t page = 0; page < captions.size(); ++page) {
        const int row = FindRow(table, captions[page]);
        if (row < 0)
            break;
        int parent = -1;
        if (const auto& parentName = table[static_cast<std::size_t>(row)].parentName) {
            const int parentRow = FindRow(table, *parentName);
            parent = parentRow < 0 ? -1 : rowItem[static_cast<std::size_t>(parentRow)];
        }
        const int item = CreatePageTreeItem(items, captions[page], parent);
        items[static_cast<std::size_t>(item)].page = static_cast<int>(page);
        if (const auto& title = table[static_cast<std::size_t>(row)].frameTitle)
            items[static_cast<std::size_t>(item)].frameTitle = std::string(*title);
        rowItem[static_cast<std::size_t>(row)] = item;
    }
    return items;
}

}  // namespace config
