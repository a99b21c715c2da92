#include "registry/MemoryRegistry.h"

namespace lumora {

RegistryBackend& DefaultRegistry() {
    static MemoryRegistry registry;
    return registry;
}

}  // namespace lumora
