#pragma once
// The configuration sheet's page tree: per device family a table of the
// pages' tab captions with their parents and frame titles, matched against
// the sheet's pages in tab order. Paths use "::" between levels; "\::" is a
// literal "::" and "\\" a literal backslash.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace config {

// The pages' tab captions, which are also the rows' names (trailing blanks included).
namespace caption {
inline constexpr std::string_view kNetwork = "Sieć   ";
inline constexpr std::string_view kDdns = "DDNS";
inline constexpr std::string_view kMail = "Mail";
inline constexpr std::string_view kFtp = "FTP";
inline constexpr std::string_view kSntp = "Server Time Config";
inline constexpr std::string_view kCamera = "DVR";
inline constexpr std::string_view kDevice = "Urządz";
inline constexpr std::string_view kDetection = "Detekcja ";
inline constexpr std::string_view kDownload = "Archiwizacja  ";
inline constexpr std::string_view kEvent = "Wyszukiw.  ";
inline constexpr std::string_view kTimerRecord = "Terminarze  ";
inline constexpr std::string_view kDvrDate = "Data";
inline constexpr std::string_view kDvrRecord = "Ust.Nagrywan. ";
inline constexpr std::string_view kAlarm = "Alarm";
inline constexpr std::string_view kAlarmData = "Alarm List";
inline constexpr std::string_view kToolBox = "Ogólne ";
inline constexpr std::string_view kAccount = "Konta  ";
inline constexpr std::string_view kPeripheral = "Peripheral";
inline constexpr std::string_view kOnlineUsers = "Podłączeni użyt.";
inline constexpr std::string_view kRecordPaths = "Ścieżka  ";
}  // namespace caption

struct PageTreeEntry {
    std::string_view name;
    std::optional<std::string_view> parentName;
    std::optional<std::string_view> frameTitle;  // none: the item's text
};
using PageTreeTable = std::array<PageTreeEntry, 20>;

// The family's table (the DVR table for a product outside the four families).
const PageTreeTable& PageTreeTableFor(std::string_view productId);
// "16CH DVR", "Video Server" ...; empty for a product outside the families.
std::string_view BannerTextFor(std::string_view productId);

// One tree item, in creation order; a parent always comes before its children.
struct PageTreeItem {
    std::string text;
    int parent = -1;  // index of the parent item; -1 at the root
    int page = -1;    // tab index of the page; -1 for an item without a page
    std::optional<std::string> frameTitle;
};

// Builds the tree for the pages' captions in tab order. A caption the table
// lacks ends the tree: it and the later pages get no item.
std::vector<PageTreeItem> BuildPageTree(const PageTreeTable& table, const std::vector<std::string>& captions);

// Splits off the first segment (escapes resolved) and leaves the rest after the
// first "::" preceded by an even number of backslashes; without one, all of it.
std::pair<std::string, std::string> SplitPageTreePath(std::string_view path);

// The item for the path under the parent (-1: the root), made level by level
// where no child of that text exists yet; the new items have no page.
int CreatePageTreeItem(std::vector<PageTreeItem>& items, std::string_view path, int parent);

}  // namespace config
