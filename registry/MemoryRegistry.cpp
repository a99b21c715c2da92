#include "registry/MemoryRegistry.h"

#include <algorithm>
#include <cstring>

#include "common/WideText.h"

namespace lumora {

namespace {

constexpr std::uint32_t kQueryValueRight = 0x0001;
constexpr std::uint32_t kSetValueRight = 0x0002;
// Rights that change something: set value, create subkey, delete, write DAC,
// write owner.
constexpr std::uint32_t kWriteRights = 0x0002 | 0x0004 | 0x00010000 | 0x00040000 | 0x00080000;

std::wstring Folded(const std::wstring& name) {
    std::wstring folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

// Splits a subkey into its names. A trailing backslash is accepted; a leading
// one, or an empty name inside the path, is a bad path name.
bool SplitSubKey(const std::wstring& subKey, std::vector<std::wstring>& parts) {
    parts.clear();
    if (subKey.empty()) {
        return true;
    }
    if (subKey.front() == L'\\') {
        return false;
    }
    std::size_t start = 0;
    while (start < subKey.size()) {
        const std::size_t end = subKey.find(L'\\', start);
        const std::size_t stop = end == std::wstring::npos ? subKey.size() : end;
        if (stop == start) {
            return false;
        }
        parts.push_back(subKey.substr(start, stop - start));
        if (end == std::wstring::npos) {
            break;
        }
        start = end + 1;
    }
    return true;
}

std::wstring WithoutLeadingBackslash(const std::wstring& path) {
    return !path.empty() && path.front() == L'\\' ? path.substr(1) : path;
}

RegistryView ViewOf(std::uint32_t access) {
    return (access & reg::kKeyWow64_64Key) != 0 ? RegistryView::Native : RegistryView::Program;
}

}  // namespace

struct MemoryRegistry::Node {
    std::wstring name;
    bool writesDenied = false;
    std::map<std::wstring, std::unique_ptr<Node>> children;  // by folded name
    std::vector<RegValue> values;

    RegValue* FindValue(const std::wstring& valueName) {
        const std::wstring folded = Folded(valueName);
        auto it = std::find_if(values.begin(), values.end(),
                               [&](const RegValue& v) { return Folded(v.name) == folded; });
        return it == values.end() ? nullptr : &*it;
    }
};

MemoryRegistry::View::View()
    : currentUser(std::make_unique<Node>()), localMachine(std::make_unique<Node>()) {}

MemoryRegistry::MemoryRegistry() = default;

MemoryRegistry::~MemoryRegistry() = default;

long MemoryRegistry::Resolve(RootKey root, RegistryView view, const std::wstring& subKey,
                             bool create, Node*& node) {
    std::vector<std::wstring> parts;
    if (!SplitSubKey(subKey, parts)) {
        return reg::kBadPathname;
    }
    const View& keys = view == RegistryView::Native ? native_ : program_;
    Node* current = root == RootKey::CurrentUser    ? keys.currentUser.get()
                    : root == RootKey::LocalMachine ? keys.localMachine.get()
                                                    : nullptr;
    if (current == nullptr) {
        return reg::kInvalidHandle;
    }
    bool denied = current->writesDenied;
    for (const auto& part : parts) {
        auto it = current->children.find(Folded(part));
        if (it == current->children.end()) {
            if (!create) {
                return reg::kFileNotFound;
            }
            if (denied) {
                return reg::kAccessDenied;
            }
            auto child = std::make_unique<Node>();
            child->name = part;
            it = current->children.emplace(Folded(part), std::move(child)).first;
        }
        current = it->second.get();
        denied = denied || current->writesDenied;
    }
    if (denied && create) {
        return reg::kAccessDenied;
    }
    node = current;
    return reg::kSuccess;
}

const MemoryRegistry::Node* MemoryRegistry::Find(RootKey root, RegistryView view,
                                                 const std::wstring& path) const {
    std::vector<std::wstring> parts;
    if (!SplitSubKey(WithoutLeadingBackslash(path), parts)) {
        return nullptr;
    }
    const View& keys = view == RegistryView::Native ? native_ : program_;
    const Node* current =
        root == RootKey::CurrentUser ? keys.currentUser.get() : keys.localMachine.get();
    for (const auto& part : parts) {
        auto it = current->children.find(Folded(part));
        if (it == current->children.end()) {
            return nullptr;
        }
        current = it->second.get();
    }
    return current;
}

long MemoryRegistry::NewHandle(Node* node, std::uint32_t access, RegKeyHandle& key) {
    key = nextHandle_++;
    handles_[key] = Handle{node, access};
    return reg::kSuccess;
}

MemoryRegistry::Handle* MemoryRegistry::Lookup(RegKeyHandle key) {
    auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : &it->second;
}

long MemoryRegistry::OpenKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                             RegKeyHandle& key) {
    accessLog_.push_back(access);
    Node* node = nullptr;
    const long rc = Resolve(root, ViewOf(access), subKey, false, node);
    if (rc != reg::kSuccess) {
        return rc;
    }
    if ((access & kWriteRights) != 0) {
        // A denied key refuses write rights, whether set on it or above it.
        Node* probe = nullptr;
        if (Resolve(root, ViewOf(access), subKey, true, probe) == reg::kAccessDenied) {
            return reg::kAccessDenied;
        }
    }
    return NewHandle(node, access, key);
}

long MemoryRegistry::CreateKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                               RegKeyHandle& key) {
    accessLog_.push_back(access);
    Node* node = nullptr;
    const long rc = Resolve(root, ViewOf(access), subKey, true, node);
    if (rc != reg::kSuccess) {
        return rc;
    }
    return NewHandle(node, access, key);
}

long MemoryRegistry::QueryValue(RegKeyHandle key, const std::wstring& name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* size) {
    Handle* handle = Lookup(key);
    if (handle == nullptr) {
        return reg::kInvalidHandle;
    }
    if ((handle->access & kQueryValueRight) == 0) {
        return reg::kAccessDenied;
    }
    const RegValue* value = handle->node->FindValue(name);
    if (value == nullptr) {
        return reg::kFileNotFound;
    }
    if (data != nullptr && size == nullptr) {
        return reg::kInvalidParameter;
    }
    if (type != nullptr) {
        *type = value->type;
    }
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return reg::kMoreData;
    }
    if (data != nullptr && needed > 0) {
        std::memcpy(data, value->data.data(), needed);
    }
    if (size != nullptr) {
        *size = needed;
    }
    return reg::kSuccess;
}

long MemoryRegistry::SetValue(RegKeyHandle key, const std::wstring& name, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) {
    Handle* handle = Lookup(key);
    if (handle == nullptr) {
        return reg::kInvalidHandle;
    }
    if ((handle->access & kSetValueRight) == 0) {
        return reg::kAccessDenied;
    }
    std::vector<std::uint8_t> bytes;
    if (data != nullptr) {
        bytes.assign(data, data + size);
    }
    if (RegValue* existing = handle->node->FindValue(name)) {
        existing->type = type;
        existing->data = std::move(bytes);
    } else {
        handle->node->values.push_back(RegValue{name, type, std::move(bytes)});
    }
    return reg::kSuccess;
}

long MemoryRegistry::DeleteValue(RegKeyHandle key, const std::wstring& name) {
    Handle* handle = Lookup(key);
    if (handle == nullptr) {
        return reg::kInvalidHandle;
    }
    if ((handle->access & kSetValueRight) == 0) {
        return reg::kAccessDenied;
    }
    auto& values = handle->node->values;
    const std::wstring folded = Folded(name);
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const RegValue& v) { return Folded(v.name) == folded; });
    if (it == values.end()) {
        return reg::kFileNotFound;
    }
    values.erase(it);
    return reg::kSuccess;
}

long MemoryRegistry::CloseKey(RegKeyHandle key) {
    return handles_.erase(key) == 1 ? reg::kSuccess : reg::kInvalidHandle;
}

void MemoryRegistry::Put(RootKey root, const std::wstring& path, const RegValue& value,
                         RegistryView view) {
    Node* node = nullptr;
    if (Resolve(root, view, WithoutLeadingBackslash(path), true, node) != reg::kSuccess) {
        return;
    }
    if (RegValue* existing = node->FindValue(value.name)) {
        *existing = value;
    } else {
        node->values.push_back(value);
    }
}

std::optional<RegValue> MemoryRegistry::Get(RootKey root, const std::wstring& path,
                                            const std::wstring& name, RegistryView view) const {
    const Node* node = Find(root, view, path);
    if (node == nullptr) {
        return std::nullopt;
    }
    const std::wstring folded = Folded(name);
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const RegValue& v) { return Folded(v.name) == folded; });
    return it == node->values.end() ? std::nullopt : std::optional<RegValue>(*it);
}

std::vector<RegValue> MemoryRegistry::Values(RootKey root, const std::wstring& path,
                                             RegistryView view) const {
    const Node* node = Find(root, view, path);
    return node == nullptr ? std::vector<RegValue>{} : node->values;
}

bool MemoryRegistry::KeyExists(RootKey root, const std::wstring& path, RegistryView view) const {
    return Find(root, view, path) != nullptr;
}

void MemoryRegistry::DenyWrites(RootKey root, const std::wstring& path) {
    Node* node = nullptr;
    if (Resolve(root, RegistryView::Program, WithoutLeadingBackslash(path), true, node) ==
        reg::kSuccess) {
        node->writesDenied = true;
    }
}

}  // namespace lumora
