#include "registry/RegistryBackend.h"

namespace lumora {

// Defined by the platform's registry file: Windows' own registry, or the
// process-wide in-memory one in the native build.
RegistryBackend& DefaultRegistry();

namespace {
RegistryBackend* g_activeRegistry = nullptr;
}

RegistryBackend& ActiveRegistry() {
    return g_activeRegistry != nullptr ? *g_activeRegistry : DefaultRegistry();
}

void SetActiveRegistry(RegistryBackend* backend) {
    g_activeRegistry = backend;
}

}  // namespace lumora
