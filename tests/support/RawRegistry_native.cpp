#include "tests/support/RawRegistry.h"

namespace lumora::test {

// Every RawRegistry puts a fresh in-memory registry in place for its life.
struct RawRegistry::State {
    MemoryRegistry memory;
    ScopedRegistry scope{memory};
};

RawRegistry::RawRegistry() : state_(new State) {}
RawRegistry::~RawRegistry() {
    delete state_;
}

void RawRegistry::Put(RootKey root, const std::wstring& path, const std::wstring& name,
                      std::uint32_t type, const std::vector<std::uint8_t>& data,
                      RegistryView view) {
    state_->memory.Put(root, path, RegValue{name, type, data}, view);
}

std::optional<RegValue> RawRegistry::Get(RootKey root, const std::wstring& path,
                                         const std::wstring& name, RegistryView view) const {
    return state_->memory.Get(root, path, name, view);
}

bool RawRegistry::KeyExists(RootKey root, const std::wstring& path) const {
    return state_->memory.KeyExists(root, path);
}

void RawRegistry::DeleteTree(RootKey, const std::wstring&) {}

bool RawRegistry::DenyWrites(RootKey root, const std::wstring& path) {
    state_->memory.DenyWrites(root, path);
    return true;
}

MemoryRegistry* RawRegistry::Memory() {
    return &state_->memory;
}

}  // namespace lumora::test
