#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools
  libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation
  mdbtools
)
if [ "${1:-}" = "--extra" ]; then
  # Fuzzing and screenshots only; not needed to build or test.
  packages+=(clang libclang-rt-14-dev xvfb xauth imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
