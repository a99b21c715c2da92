#!/bin/bash
# Installs the Debian packages the build and the tests need, when missing.
#
# The 64-bit packages come first and on their own. wine32 (i386) is a second,
# optional step: when the i386 index or the package cannot be had, that step is
# undone (the i386 architecture is removed again where nothing i386 was
# installed) and the tests run at 64 bits alone. It never fails this script.
#   scripts/install-deps.sh
set -euo pipefail
packages=(cmake g++ googletest mingw-w64 wine wine64 xvfb xauth x11-utils clang fp-utils nsis imagemagick)
wine32_package=${LUMORA_WINE32_PACKAGE:-wine32:i386}
foreign=${wine32_package##*:}  # the architecture the second step adds

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "lumora: run as root (or install these packages first): $*" >&2
    exit 1
  fi
}

export DEBIAN_FRONTEND=noninteractive
updated=no

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  need_root "${missing[*]}"
  echo "lumora: installing Debian packages: ${missing[*]}" >&2
  apt-get update -qq
  updated=yes
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# wine32 runs the shipped 32-bit program's tests, where the kernel runs
# 32-bit programs at all. Where it does not, an installed wine32 is removed
# again: Debian's wine command would otherwise pick its loader, which cannot
# start, for the 64-bit programs too.
if ! "$(dirname "$0")/can-run-i386.sh"; then
  if installed "$wine32_package"; then
    need_root "removing $wine32_package"
    apt-get remove -y -qq "$wine32_package" >/dev/null 2>&1 || true
  fi
  echo "lumora: this kernel does not run 32-bit programs: no wine32, the tests run at 64 bits only" >&2
  exit 0
fi
# Skipped with LUMORA_SKIP_WINE32=1.
if installed "$wine32_package" || [ "${LUMORA_SKIP_WINE32:-0}" = 1 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "lumora: wine32 is not installed and this is not root; the 32-bit tests are skipped" >&2
  exit 0
fi

had_foreign=no
if dpkg --print-foreign-architectures | grep -qx "$foreign"; then
  had_foreign=yes
fi

undo_foreign() {
  # Leaves dpkg as it was: no half-configured package, and no foreign
  # architecture unless it was there before or a package of it is installed.
  dpkg --configure -a >/dev/null 2>&1 || true
  if [ "$had_foreign" = no ] &&
    ! dpkg-query -W -f='${Architecture}\n' 2>/dev/null | grep -qx "$foreign"; then
    dpkg --remove-architecture "$foreign" 2>/dev/null || true
    apt-get update -qq >/dev/null 2>&1 || true
  fi
}

echo "lumora: installing $wine32_package for the 32-bit tests" >&2
dpkg --add-architecture "$foreign"
if apt-get update -qq >/dev/null 2>&1 &&
  apt-get install -y -qq --no-install-recommends "$wine32_package" >/dev/null 2>&1; then
  exit 0
fi
undo_foreign
echo "lumora: $wine32_package could not be installed (its index or package is unavailable); the tests run at 64 bits only" >&2
exit 0
