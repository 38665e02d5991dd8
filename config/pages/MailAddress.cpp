#include "config/pages/MailAddress.h"

#include "config/blocks/FieldCodec.h"

namespace config {

std::string FormatMailAddress(std::string_view text, int mode) {
    if (mode == 0) {
        const std::size_t at = text.find('@');
        if (at != std::string_view::npos && at > 0)
            return std::string(text.substr(0, at)) + " <" + std::string(text) + ">";
        return "<" + std::string(text) + ">";
    }
    if (mode == 1) {
        const std::size_t open = text.find('<');
        const std::size_t close = text.rfind('>');
        if (open == std::string_view::npos || close == std::string_view::npos || close < open)
            return std::string(text);
        return std::string(text.substr(open + 1, std::min<std::size_t>(close - open - 1, 49)));
    }
    return std::string(text);
}

bool RecipientFitsSlot(std::string_view listForm) {
    std::string encoded;
    return EncodeBlockText(FormatMailAddress(listForm, 0), kRecipientSlotChars, encoded) == FieldStatus::Ok;
}

}  // namespace config
