// The configuration blocks' fields over any bytes, as "/GetSysCfg.cgi" can return them: the
// first byte picks the block's table, the rest is the block, of any length. Every element of
// every row (and one past the last) reads without leaving the block; a value read writes back
// unchanged (a text the device filled past the field's limit, or with bytes that do not come
// back the same, is refused and changes nothing), and every write that is refused changes no byte.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "config/blocks/BlockFieldTable.h"
#include "config/blocks/FieldCodec.h"
#include "session/net/OptionBlocks.h"

namespace {

void CheckElement(std::vector<std::uint8_t>& block, const config::BlockField& field, std::size_t index,
                  std::int64_t probe) {
    const std::vector<std::uint8_t> before = block;
    const config::FieldValue value = config::ReadField(block, field, index);
    const config::FieldStatus status = config::WriteField(block, field, index, value);
    const bool inside = index < field.count && field.Offset(index) + field.width <= block.size();
    using S = config::FieldStatus;
    if (status == S::Ok) {
        if (!inside || config::ReadField(block, field, index) != value)
            std::abort();
        // Numbers and areas keep every byte; a text may lose only what followed its zero.
        if (field.codec != config::FieldCodec::Text && block != before)
            std::abort();
    } else {
        const bool textRefusal =
            field.codec == config::FieldCodec::Text && (status == S::TooLong || status == S::NotWindows1250);
        if ((inside && !textRefusal) || block != before)
            std::abort();
    }
    block = before;
    if (!config::IsTextCodec(field.codec) && config::WriteNumber(block, field, index, probe) != S::Ok &&
        block != before)
        std::abort();
    block = before;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t option = data[0] % session::kOptionCount;
    std::vector<std::uint8_t> block(data + 1, data + size);
    // A number to write into every number field: the block's first eight bytes, little-endian.
    std::uint64_t probe = 0;
    for (std::size_t i = 0; i < 8 && i < block.size(); ++i)
        probe |= std::uint64_t{block[i]} << (8 * i);
    for (const config::BlockField& field : config::FieldsOf(option))
        for (std::size_t index = 0; index <= field.count; ++index)
            CheckElement(block, field, index, static_cast<std::int64_t>(probe));
    config::Ipv4Text(static_cast<std::uint32_t>(size * 2654435761u));
    return 0;
}
