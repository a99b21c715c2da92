#!/bin/bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
packages=(cmake g++ googletest mingw-w64 wine wine64 xvfb xauth clang fp-utils nsis)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "lumora: installing Debian packages: ${missing[*]}" >&2
if [ "$(id -u)" -ne 0 ]; then
  echo "lumora: run as root (or install these packages first)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
