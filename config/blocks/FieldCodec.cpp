#include "config/blocks/FieldCodec.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/ByteOrder.h"
#include "platform/TextCodec.h"

namespace config {

namespace {

struct Range {
    std::int64_t min;
    std::int64_t max;
};

Range RangeOf(FieldCodec codec) {
    switch (codec) {
    case FieldCodec::U8: return {0, 0xFF};
    case FieldCodec::S8: return {-128, 127};
    case FieldCodec::U16: return {0, 0xFFFF};
    case FieldCodec::U32:
    case FieldCodec::Ipv4: return {0, 0xFFFFFFFF};
    case FieldCodec::Minutes:
        return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    default: return {0, -1};
    }
}

bool Inside(std::size_t blockSize, const BlockField& field, std::size_t index) {
    return index < field.count && field.Offset(index) + field.width <= blockSize;
}

}  // namespace

bool IsTextCodec(FieldCodec codec) { return codec == FieldCodec::Text || codec == FieldCodec::Area; }

std::int64_t ReadNumber(std::span<const std::uint8_t> block, const BlockField& field, std::size_t index) {
    if (IsTextCodec(field.codec) || !Inside(block.size(), field, index))
        return 0;
    const std::uint8_t* p = block.data() + field.Offset(index);
    switch (field.codec) {
    case FieldCodec::U8: return p[0];
    case FieldCodec::S8: return static_cast<std::int8_t>(p[0]);
    case FieldCodec::U16: return platform::LoadLe16(p);
    case FieldCodec::U32: return platform::LoadLe32(p);
    case FieldCodec::Minutes: return static_cast<std::int32_t>(platform::LoadLe32(p));
    case FieldCodec::Ipv4:
        return static_cast<std::int64_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    default: return 0;
    }
}

std::string ReadText(std::span<const std::uint8_t> block, const BlockField& field, std::size_t index) {
    if (!IsTextCodec(field.codec) || !Inside(block.size(), field, index))
        return {};
    const auto* p = reinterpret_cast<const char*>(block.data() + field.Offset(index));
    if (field.codec == FieldCodec::Area)
        return std::string(p, field.width);
    const std::size_t length = std::find(p, p + field.width, '\0') - p;
    return platform::Windows1250ToUtf8(std::string_view(p, length));
}

FieldValue ReadField(std::span<const std::uint8_t> block, const BlockField& field, std::size_t index) {
    if (IsTextCodec(field.codec))
        return ReadText(block, field, index);
    return ReadNumber(block, field, index);
}

FieldStatus WriteNumber(std::span<std::uint8_t> block, const BlockField& field, std::size_t index,
                        std::int64_t value) {
    if (IsTextCodec(field.codec))
        return FieldStatus::WrongKind;
    if (!Inside(block.size(), field, index))
        return FieldStatus::OutsideBlock;
    const Range range = RangeOf(field.codec);
    if (value < range.min || value > range.max)
        return FieldStatus::OutOfRange;
    std::uint8_t* p = block.data() + field.Offset(index);
    const auto bits = static_cast<std::uint32_t>(value);
    switch (field.codec) {
    case FieldCodec::U8:
    case FieldCodec::S8: p[0] = static_cast<std::uint8_t>(bits); break;
    case FieldCodec::U16: platform::StoreLe16(p, static_cast<std::uint16_t>(bits)); break;
    case FieldCodec::U32:
    case FieldCodec::Minutes: platform::StoreLe32(p, bits); break;
    case FieldCodec::Ipv4:
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
        break;
    default: break;
    }
    return FieldStatus::Ok;
}

FieldStatus EncodeBlockText(std::string_view utf8, std::size_t maxChars, std::string& windows1250) {
    if (!platform::IsValidUtf8(utf8))
        return FieldStatus::NotWindows1250;
    std::string encoded = platform::Utf8ToWindows1250(utf8);
    // A character without a Windows-1250 form came out as '?'; a zero byte would end the text early.
    if (platform::Windows1250ToUtf8(encoded) != utf8 || encoded.find('\0') != std::string::npos)
        return FieldStatus::NotWindows1250;
    if (encoded.size() > maxChars)
        return FieldStatus::TooLong;
    windows1250 = std::move(encoded);
    return FieldStatus::Ok;
}

FieldStatus WriteText(std::span<std::uint8_t> block, const BlockField& field, std::size_t index,
                      std::string_view utf8) {
    if (!IsTextCodec(field.codec))
        return FieldStatus::WrongKind;
    if (!Inside(block.size(), field, index))
        return FieldStatus::OutsideBlock;
    std::uint8_t* p = block.data() + field.Offset(index);
    if (field.codec == FieldCodec::Area) {
        if (utf8.size() != field.width)
            return FieldStatus::TooLong;
        std::memcpy(p, utf8.data(), field.width);
        return FieldStatus::Ok;
    }
    std::string bytes;
    if (const FieldStatus status = EncodeBlockText(utf8, std::min(field.MaxChars(), field.width), bytes);
        status != FieldStatus::Ok)
        return status;
    std::memset(p, 0, field.width);
    std::memcpy(p, bytes.data(), bytes.size());
    return FieldStatus::Ok;
}

FieldStatus WriteField(std::span<std::uint8_t> block, const BlockField& field, std::size_t index,
                       const FieldValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return WriteNumber(block, field, index, *number);
    return WriteText(block, field, index, std::get<std::string>(value));
}

std::string Ipv4Text(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

}  // namespace config
