#include "platform/WindowsVersion.h"

namespace lumora {

namespace {

enum class Product { None, Workstation, Server };

Product ProductOf(std::uint8_t productType) {
    if (productType == kProductTypeNone) {
        return Product::None;
    }
    return productType == kProductWorkstation ? Product::Workstation : Product::Server;
}

// Windows 5.x: 2000, XP (the 64-bit XP workstation reports 5.2), Server 2003.
int WindowsFive(std::uint32_t minor, Product product) {
    switch (minor) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 2:
            if (product == Product::None) {
                return -1;
            }
            return product == Product::Workstation ? 1 : 2;
        default:
            return -1;
    }
}

// Windows 6.x: Vista and Server 2008, 7 and Server 2008 R2, 8 and 8.1 and
// Server 2012 (R2). A 6.1 server counts as Server 2008.
int WindowsSix(std::uint32_t minor, Product product) {
    if (product == Product::None || minor > 3) {
        return -1;
    }
    const bool workstation = product == Product::Workstation;
    switch (minor) {
        case 0:
            return workstation ? 3 : 4;
        case 1:
            return workstation ? 5 : 4;
        default:
            return workstation ? 6 : 7;
    }
}

}  // namespace

int OsIndexFor(std::uint32_t major, std::uint32_t minor, std::uint8_t productType) {
    const Product product = ProductOf(productType);
    switch (major) {
        case 5:
            return WindowsFive(minor, product);
        case 6:
            return WindowsSix(minor, product);
        case 10:
            return 8;
        default:
            return -1;
    }
}

}  // namespace lumora
