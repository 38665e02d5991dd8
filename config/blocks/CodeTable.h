#pragma once
// A list whose items stand for device codes (alarm times, baud rates, model
// codes, provider keys): the code of each list index, in list order. A code
// the table does not hold is "unknown": the list shows no selection and the
// field is left as the device sent it.

#include <cstddef>
#include <optional>
#include <span>

namespace config {

template <typename Code>
class CodeTable {
public:
    constexpr explicit CodeTable(std::span<const Code> codes) : codes_(codes) {}

    // The list index of the code; none for an unknown code.
    constexpr std::optional<int> IndexOf(const Code& code) const {
        for (std::size_t i = 0; i < codes_.size(); ++i)
            if (codes_[i] == code)
                return static_cast<int>(i);
        return std::nullopt;
    }
    // The code of a list index; none for no selection (-1) or an index past the list.
    constexpr std::optional<Code> CodeAt(int index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= codes_.size())
            return std::nullopt;
        return codes_[static_cast<std::size_t>(index)];
    }
    constexpr std::size_t Size() const { return codes_.size(); }

private:
    std::span<const Code> codes_;
};

}  // namespace config
