#include "platform/http/HttpRequest.h"

#include <algorithm>

namespace lumora {
namespace {

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

bool HasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

bool IsWord(const std::string& text) {
    return !text.empty() && !HasControl(text) && text.find(' ') == std::string::npos;
}

}  // namespace

std::string BuildGetRequest(const std::string& host, std::uint16_t port, const std::string& target,
                            const std::string& userAgent) {
    if (!IsWord(host) || !IsWord(target) || target[0] != '/' || HasControl(userAgent)) {
        return "";
    }
    std::string hostField = host;
    if (port != 80) {
        hostField += ":" + std::to_string(port);
    }
    return "GET " + target + " HTTP/1.1\r\n" +  //
           "Host: " + hostField + "\r\n" +      //
           "Accept: text/html, */*\r\n" +       //
           "Accept-Encoding: identity\r\n" +    //
           "User-Agent: " + userAgent + "\r\n" + "\r\n";
}

}  // namespace lumora
