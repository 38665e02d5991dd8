#include "config/dvr/KeyValueReply.h"

namespace config {

namespace {

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::uint32_t ParseDecimalLowBits(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    // Unsigned arithmetic wraps, which keeps the low bits exact.
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    return negative ? 0u - value : value;
}

std::optional<KeyValueRead> ReadKeyValueReply(std::string_view reply, std::span<const KeyValueKey> keys) {
    if (reply.size() >= kKeyValueReplyArea)
        return std::nullopt;
    std::vector<std::optional<std::uint16_t>> found(keys.size());
    while (!reply.empty()) {
        const auto end = reply.find(';');
        const std::string_view item = reply.substr(0, end);
        reply = end == std::string_view::npos ? std::string_view() : reply.substr(end + 1);
        const auto equals = item.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = Trim(item.substr(0, equals));
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (keys[k].key != key || found[k])
                continue;
            const std::uint32_t value = ParseDecimalLowBits(item.substr(equals + 1));
            found[k] = static_cast<std::uint16_t>(keys[k].bits == 8 ? value & 0xFFu : value & 0xFFFFu);
        }
    }
    KeyValueRead read;
    for (const auto& value : found) {
        read.values.push_back(value.value_or(0));
        read.given.push_back(value.has_value());
    }
    return read;
}

}  // namespace config
