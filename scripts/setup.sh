#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing; quick when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libqt6opengl6-dev qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools
  qt6-translations-l10n qt6-charts-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libnlopt-cxx-dev libnlopt-dev
  libsqlite3-dev
  xvfb xauth locales
  xdotool imagemagick
  clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14 universal-ctags
  dpkg-dev
  libopenmpi-dev openmpi-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# a French locale, for the tests that check numbers shown with a decimal comma
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
fi
