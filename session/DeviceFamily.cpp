#include "session/DeviceFamily.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "res/StringTable.h"
#include "session/AppData.h"

namespace session {

namespace {

bool IsOneOf(std::string_view productId, std::initializer_list<std::string_view> codes) {
    return std::find(codes.begin(), codes.end(), productId) != codes.end();
}

std::string ProductId() { return g_lpApp ? g_lpApp->str_ProductID.Get() : std::string(); }

// The peripheral page's model lists hold these codes in this order.
constexpr std::array<std::uint8_t, 11> kCodeIndexTable = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 25};

constexpr std::size_t kCaptionMax = 49;   // bytes of one caption
constexpr std::size_t kFilterLimit = 256;  // texts this long are not filtered

// The first bytes of text, at most max of them, ending between characters.
std::string CutBytes(std::string_view text, std::size_t max) {
    if (text.size() <= max)
        return std::string(text);
    std::size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

}  // namespace

bool IsDvrFamily(std::string_view id) { return IsOneOf(id, {"R41T", "R42T", "R43T"}); }
bool IsVideoServerFamily(std::string_view id) { return IsOneOf(id, {"R47T"}); }
bool IsG66MFamily(std::string_view id) { return IsOneOf(id, {"G66M"}); }
bool IsN5HFamily(std::string_view id) { return IsOneOf(id, {"N51H", "N52H", "N53H"}); }
bool IsDvrFamily() { return IsDvrFamily(ProductId()); }
bool IsVideoServerFamily() { return IsVideoServerFamily(ProductId()); }
bool IsG66MFamily() { return IsG66MFamily(ProductId()); }
bool IsN5HFamily() { return IsN5HFamily(ProductId()); }

std::uint8_t GetMultiChannelFlag() { return g_lpApp ? g_lpApp->by_MultiChannel.load() : 0; }

int HasCapability(std::uint32_t mask) {
    return g_lpApp && (mask & g_lpApp->dw_DeviceCapability.load()) != 0 ? 1 : 0;
}

int CompareFirmwareVersion(std::string reference, std::string device) {
    if (reference.size() != 4 || device.size() != 4)
        return -1;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto a = static_cast<signed char>(reference[i]);
        const auto d = static_cast<signed char>(device[i]);
        if (a != d)
            return d > a ? 1 : 2;
    }
    return 0;
}

int FilterNumericText(std::string& text, std::uint8_t mode) {
    if (text.size() >= kFilterLimit)
        return 0;
    std::string kept;
    for (char c : text) {
        const bool digit = c >= '0' && c <= '9';
        if ((mode == 0 && (digit || (c == '-' && kept.empty()))) || (mode == 1 && digit))
            kept += c;
    }
    text = std::move(kept);
    return 1;
}

std::uint8_t PeripheralModelToIndex(std::uint8_t model) {
    const auto it = std::find(kCodeIndexTable.begin(), kCodeIndexTable.end(), model);
    return it == kCodeIndexTable.end() ? 0 : static_cast<std::uint8_t>(it - kCodeIndexTable.begin());
}

std::uint8_t PeripheralIndexToModel(std::uint8_t index) {
    return index < kCodeIndexTable.size() ? kCodeIndexTable[index] : 0;
}

int SplitCaptionPair(unsigned stringId, std::string& first, std::string& second) {
    const std::string_view text = res::LoadString(stringId);
    const auto dollar = text.find('$');
    first = CutBytes(text.substr(0, dollar), kCaptionMax);
    second = dollar == std::string_view::npos ? std::string()
                                              : CutBytes(text.substr(dollar + 1), kCaptionMax);
    return 1;
}

int DrawCrossMarker(std::span<std::uint8_t> picture, std::uint16_t width, std::uint16_t height,
                    std::uint32_t colour, std::uint16_t x, std::uint16_t y) {
    const int w = width, h = height;
    if (picture.size() < std::size_t(w) * std::size_t(h) * 3)
        return 1;
    // Rows are stored bottom-up; y counts from the top. A y beyond the
    // picture wraps to a row far outside it, so nothing is drawn.
    const int R = static_cast<std::uint16_t>(height - y);
    const int X = x;
    const auto inside = [&](int row, int col) { return row >= 0 && row < h && col >= 0 && col < w; };
    const auto put = [&](int row, int col) {
        if (!inside(row, col))
            return;
        auto* p = &picture[(std::size_t(row) * w + col) * 3];
        p[0] = static_cast<std::uint8_t>(colour);
        p[1] = static_cast<std::uint8_t>(colour >> 8);
        p[2] = static_cast<std::uint8_t>(colour >> 16);
    };
    for (int c = X - 8; c <= X + 8; ++c) {  // horizontal bar and the top and bottom ticks
        if (!inside(R, c))
            continue;
        put(R - 1, c), put(R, c), put(R + 1, c);
        if (c <= X - 5 || c >= X + 5)
            put(R - 8, c), put(R + 8, c);
    }
    for (int r = R - 8; r <= R + 8; ++r) {  // vertical bar and the left and right ticks
        if (!inside(r, X))
            continue;
        put(r, X - 1), put(r, X), put(r, X + 1);
        if (r <= R - 5 || r >= R + 5)
            put(r, X - 8), put(r, X + 8);
    }
    return 1;
}

}  // namespace session
