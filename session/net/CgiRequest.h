#pragma once
// A device command's request target under construction: the command's path,
// then name=value parameters joined by "?" and "&" in the order they are added.
//
// Values (and keys) go on the line safely: a blank, "#", "%", "&", "+" and
// bytes from 0x80 are sent as %XX; control bytes (below 0x20, and 0x7F) are
// refused, and a request holding a refused value or an unknown command has no
// text, so the sender refuses it instead of sending something else.

#include <cstdint>
#include <string>
#include <string_view>

namespace session {

class CgiRequest {
public:
    explicit CgiRequest(std::uint8_t command);

    // 1, or 0 when the key or value holds a control byte (the request is then invalid).
    int AddParam(std::string_view key, std::string_view value);
    int AddIntParam(std::string_view key, std::int32_t value);
    // Back to the bare path, valid again when the command is known; returns 1.
    int Reset();

    bool IsValid() const { return m_bValid; }
    // The request target; empty when the request is invalid.
    std::string_view Text() const { return m_bValid ? std::string_view(m_strRequest) : std::string_view(); }
    std::size_t Length() const { return Text().size(); }
    std::uint8_t Command() const { return m_byCommand; }

private:
    int Append(std::string_view key, std::string_view encodedValue);

    std::string m_strRequest;
    std::uint16_t m_wParamCount = 0;
    std::uint8_t m_byCommand;
    bool m_bValid = true;
};

// The value as it goes on the request line; false when it holds a control byte.
bool EncodeRequestValue(std::string_view value, std::string& encoded);

}  // namespace session
