#include "platform/UpdateCheck.h"

// The build supplies the update server and the program's version.
#if !defined(LUMORA_UPDATE_HOST) || !defined(LUMORA_UPDATE_PORT) || !defined(LUMORA_VERSION_TEXT)
#error "LUMORA_UPDATE_HOST, LUMORA_UPDATE_PORT and LUMORA_VERSION_TEXT must be defined"
#endif
static_assert(LUMORA_UPDATE_PORT > 0 && LUMORA_UPDATE_PORT <= 65535, "not a TCP port");

namespace lumora {
namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; OSTREL)";
constexpr char kTarget[] = "/downloads/update/?product=lumora&version=" LUMORA_VERSION_TEXT;

}  // namespace

int UpdateResultFromReply(const std::u16string& text) {
    // The order of the markers decides when a reply carries several.
    const std::u16string markers[] = {u"OSTREL|0", u"OSTREL|1", u"OSTREL|2"};
    for (int result = 0; result < 3; ++result) {
        if (text.find(markers[result]) != std::u16string::npos) {
            return result;
        }
    }
    return -1;
}

int CheckForUpdateAt(const std::string& host, std::uint16_t port, const HttpLimits& limits) {
    try {
        const std::optional<std::u16string> reply =
            HttpGetText(host, port, kTarget, kUserAgent, limits);
        return reply ? UpdateResultFromReply(*reply) : -1;
    } catch (...) {
        return -1;
    }
}

int CheckForUpdate() {
    return CheckForUpdateAt(LUMORA_UPDATE_HOST, static_cast<std::uint16_t>(LUMORA_UPDATE_PORT),
                            HttpLimits{});
}

}  // namespace lumora
