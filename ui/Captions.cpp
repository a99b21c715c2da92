#include "ui/Captions.h"

namespace lumora {

// Until the caption tables are in place every lookup finds nothing.
std::wstring GetCaption(const std::wstring& /*section*/, const std::wstring& /*key*/) {
    return std::wstring();
}

}  // namespace lumora
