#!/bin/sh
# Installs what building, running and testing Orlenta needs on Debian 12.
set -eu
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
    build-essential cmake ninja-build pkg-config clang-format \
    libisal-dev zlib1g-dev libarchive-dev libpugixml-dev libcli11-dev libgtest-dev \
    qt6-base-dev libgl-dev qt6-qpa-plugins fonts-dejavu-core \
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n \
    libqt6svg6 shared-mime-info xdg-utils libglib2.0-bin desktop-file-utils \
    chromium chromium-driver python3 \
    >/dev/null
