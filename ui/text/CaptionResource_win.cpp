#include <windows.h>

#include <climits>

#include "ui/text/CaptionDecoding.h"
#include "ui/text/CaptionResource.h"

namespace lumora {

namespace {

std::wstring DecodeAnsi(const std::uint8_t* bytes, std::size_t count) {
    const int length = static_cast<int>(count < INT_MAX ? count : INT_MAX);
    const auto* source = reinterpret_cast<const char*>(bytes);
    const int needed = MultiByteToWideChar(CP_ACP, 0, source, length, nullptr, 0);
    if (needed <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, source, length, text.data(), needed);
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return text;
}

}  // namespace

std::optional<std::wstring> ReadCaptionResource(const std::wstring& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, name.c_str(), RT_RCDATA);
    if (resource == nullptr) {
        return std::nullopt;
    }
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return std::nullopt;
    }
    return DecodeCaptionTable(static_cast<const std::uint8_t*>(data), size, DecodeAnsi);
}

}  // namespace lumora
