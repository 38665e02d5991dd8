#include "session/net/CgiRequest.h"

#include "session/net/CgiCommandTable.h"

namespace session {

bool EncodeRequestValue(std::string_view value, std::string& encoded) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    encoded.clear();
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
        if (byte == ' ' || byte == '#' || byte == '%' || byte == '&' || byte == '+' || byte >= 0x80) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return true;
}

CgiRequest::CgiRequest(std::uint8_t command) : m_byCommand(command) {
    Reset();
}

int CgiRequest::Reset() {
    m_strRequest = std::string(CgiCommandPath(m_byCommand));
    m_wParamCount = 0;
    m_bValid = !m_strRequest.empty();
    return 1;
}

int CgiRequest::Append(std::string_view key, std::string_view encodedValue) {
    std::string encodedKey;
    if (!EncodeRequestValue(key, encodedKey)) {
        m_bValid = false;
        return 0;
    }
    m_strRequest += m_wParamCount == 0 ? '?' : '&';
    m_strRequest += encodedKey;
    m_strRequest += '=';
    m_strRequest += encodedValue;
    ++m_wParamCount;
    return 1;
}

int CgiRequest::AddParam(std::string_view key, std::string_view value) {
    std::string encoded;
    if (!EncodeRequestValue(value, encoded)) {
        m_bValid = false;
        return 0;
    }
    return Append(key, encoded);
}

int CgiRequest::AddIntParam(std::string_view key, std::int32_t value) {
    return Append(key, std::to_string(value));
}

}  // namespace session
