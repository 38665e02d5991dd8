#include "mainwindow/control/ControlCommandBody.h"

namespace mainwindow {

namespace {

// Placeholder codes with a meaning of their own.
constexpr std::uint8_t kRankCode = 0x1;
constexpr std::uint8_t kSumCode = 0x2;
constexpr std::uint8_t kFreeFormCode = 0x3;
constexpr std::uint8_t kPairCode = 0x4;
constexpr std::uint8_t kLastPairCode = 0x5;
constexpr std::uint8_t kSumFromSecondCode = 0x6;
constexpr std::uint8_t kVariantsCode = 0x7;
constexpr std::uint8_t kSeparatedCode = 0xA;
constexpr std::uint8_t kBusAddressCode = 0xB;
constexpr std::uint8_t kMasterAddressCode = 0xD;
constexpr std::uint8_t kSeparator = 0x0A;
constexpr std::size_t kMaxCommandBytes = kCommandBodyArea - 3;

class BodyArea {
public:
    explicit BodyArea(const CommandBodyContext& context) : context_(context) {}

    // Sets body byte `pos` (from 1) and adds it to the sums; false past the area.
    bool Put(std::size_t pos, std::uint8_t value, bool countsFromSecond = true) {
        if (pos == 0 || pos >= area_.size())
            return false;
        area_[pos] = value;
        sum_ = static_cast<std::uint8_t>(sum_ + value);
        if (pos >= 2 && countsFromSecond)
            sumFromSecond_ = static_cast<std::uint8_t>(sumFromSecond_ + value);
        return true;
    }

    std::uint8_t Value(std::uint8_t code) const {
        switch (code) {
        case kMasterAddressCode: return context_.masterAddress;
        case kBusAddressCode: return context_.busAddress;
        case kRankCode: return context_.rank;
        case kSumCode: return sum_;
        case kSumFromSecondCode: return sumFromSecond_;
        default: return context_.params[code % kControlParamCount];
        }
    }

    // Template bytes [start, start + n) into body bytes 1 ... n, then the
    // repeat count and the interval.
    std::optional<std::vector<std::uint8_t>> FillCounted(const ControlCommandTemplate& command, std::size_t start,
                                                         std::size_t n) {
        if (n > kMaxCommandBytes || start + n > command.pBytes.size())
            return std::nullopt;
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t t = start + k;
            const std::uint8_t byte = command.pBytes[t];
            Put(k + 1, command.IsPlaceholder(t) ? Value(byte) : byte);
        }
        area_[n + 1] = context_.repeat;
        area_[n + 2] = kRepeatInterval;
        return Body(n);
    }

    std::vector<std::uint8_t> Body(std::size_t n) {
        area_[0] = static_cast<std::uint8_t>(n);
        return {area_.begin(), area_.begin() + static_cast<std::ptrdiff_t>(n + 3)};
    }

private:
    const CommandBodyContext& context_;
    std::array<std::uint8_t, kCommandBodyArea> area_{};
    std::uint8_t sum_ = 0;
    std::uint8_t sumFromSecond_ = 0;
};

// The free-form shape: byte 1 is n; the bytes from 2 fill the body until %5
// (or a zero byte past n); no repeat count or interval.
std::optional<std::vector<std::uint8_t>> FillFreeForm(const ControlCommandTemplate& command, BodyArea& body) {
    const auto& bytes = command.pBytes;
    if (bytes.size() < 2 || bytes[1] > kMaxCommandBytes)
        return std::nullopt;
    const std::size_t n = bytes[1];
    std::size_t pos = 1;
    for (std::size_t t = 2; t < bytes.size(); ++pos) {
        const bool placeholder = command.IsPlaceholder(t);
        const std::uint8_t byte = bytes[t];
        if (!placeholder && byte == 0 && pos > n)
            return body.Body(n);
        if (placeholder && (byte == kPairCode || byte == kLastPairCode)) {
            if (t + 1 >= bytes.size() || !body.Put(pos, bytes[t + 1], false))
                return std::nullopt;
            if (byte == kLastPairCode)
                return body.Body(n);
            t += 2;
            continue;
        }
        std::uint8_t value = byte;
        if (placeholder) {
            const bool named = byte == kMasterAddressCode || byte == kBusAddressCode || byte == kRankCode ||
                               byte == kSumCode || byte == kSumFromSecondCode;
            value = named ? body.Value(byte) : 0;
        }
        if (!body.Put(pos, value))
            return std::nullopt;
        ++t;
    }
    return std::nullopt;  // the template ended without its end mark
}

// Index of the first byte from `from` that is the placeholder `code`.
std::optional<std::size_t> FindPlaceholder(const ControlCommandTemplate& command, std::size_t from,
                                           std::uint8_t code) {
    for (std::size_t t = from; t < command.pBytes.size(); ++t)
        if (command.IsPlaceholder(t) && command.pBytes[t] == code)
            return t;
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> BuildCommandBody(const ControlCommandTemplate& command,
                                                          const CommandBodyContext& context) {
    const auto& bytes = command.pBytes;
    if (bytes.empty())
        return std::nullopt;
    BodyArea body(context);
    if (!command.IsPlaceholder(0))
        return body.FillCounted(command, 0, bytes.size());
    switch (bytes[0]) {
    case kSeparatedCode: {
        std::size_t t = 1;
        while (t < bytes.size() && bytes[t] != kSeparator)
            ++t;
        if (t + 1 >= bytes.size())
            return std::nullopt;
        return body.FillCounted(command, t + 2, bytes[t + 1]);
    }
    case kVariantsCode: {
        const auto second = FindPlaceholder(command, 2, kVariantsCode);
        if (!second || bytes.size() < 2)
            return std::nullopt;
        const std::size_t countAt = context.presetMode ? *second + 1 : 1;
        if (countAt >= bytes.size())
            return std::nullopt;
        return body.FillCounted(command, countAt + 1, bytes[countAt]);
    }
    case kFreeFormCode:
        return FillFreeForm(command, body);
    default:
        return body.FillCounted(command, 0, bytes.size());
    }
}

std::uint8_t BusAddress(bool dvr, bool multiChannel, std::uint8_t lastMaster, std::uint8_t lastSlave) {
    return dvr && !multiChannel ? lastSlave : lastMaster;
}

}  // namespace mainwindow
