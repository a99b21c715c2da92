// An in-memory registry that answers like Windows' for what this program
// uses: key and value names without regard to case, paths with a trailing
// backslash, a subkey with a leading backslash refused as a bad path name,
// value types and sizes kept as stored, missing keys, and keys whose writes
// are refused (to stand for a program without administrator rights).
//
// Two views: a key opened with KEY_WOW64_64KEY is one of the native 64-bit
// view, any other one of the program's own view. The two share no key (on
// 64-bit Windows they share all but HKEY_LOCAL_MACHINE\Software, and some
// keys below it), so a test sees the view that each write and delete asked
// for.
//
// The native build runs the access layer over it; tests inspect it directly.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryBackend.h"

namespace lumora {

struct RegValue {
    std::wstring name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

class MemoryRegistry : public RegistryBackend {
  public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    long OpenKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                 RegKeyHandle& key) override;
    long CreateKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                   RegKeyHandle& key) override;
    long QueryValue(RegKeyHandle key, const std::wstring& name, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* size) override;
    long SetValue(RegKeyHandle key, const std::wstring& name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override;
    long DeleteValue(RegKeyHandle key, const std::wstring& name) override;
    long CloseKey(RegKeyHandle key) override;

    // Inspection and set-up for tests; paths as the access layer takes them
    // (a leading backslash is allowed here).
    void Put(RootKey root, const std::wstring& path, const RegValue& value,
             RegistryView view = RegistryView::Program);
    std::optional<RegValue> Get(RootKey root, const std::wstring& path, const std::wstring& name,
                                RegistryView view = RegistryView::Program) const;
    std::vector<RegValue> Values(RootKey root, const std::wstring& path,
                                 RegistryView view = RegistryView::Program) const;
    bool KeyExists(RootKey root, const std::wstring& path,
                   RegistryView view = RegistryView::Program) const;
    // Refuses every open with write rights, and every create, at this key and
    // below it, in the program's own view.
    void DenyWrites(RootKey root, const std::wstring& path);
    // Access masks asked for, in order, by every open and create.
    const std::vector<std::uint32_t>& AccessLog() const { return accessLog_; }
    std::size_t OpenHandleCount() const { return handles_.size(); }

  private:
    struct Node;
    struct Handle {
        Node* node;
        std::uint32_t access;
    };

    // The keys of one view.
    struct View {
        View();
        std::unique_ptr<Node> currentUser;
        std::unique_ptr<Node> localMachine;
    };

    long Resolve(RootKey root, RegistryView view, const std::wstring& subKey, bool create,
                 Node*& node);
    const Node* Find(RootKey root, RegistryView view, const std::wstring& path) const;
    long NewHandle(Node* node, std::uint32_t access, RegKeyHandle& key);
    Handle* Lookup(RegKeyHandle key);

    View program_;
    View native_;
    std::map<RegKeyHandle, Handle> handles_;
    RegKeyHandle nextHandle_ = 0x1000;
    std::vector<std::uint32_t> accessLog_;
};

}  // namespace lumora
