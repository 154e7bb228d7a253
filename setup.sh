#!/bin/sh
# Installs every Debian package that building, testing and regenerating
# Lumarin needs. Safe to run again: it installs only what is missing.
set -eu

PACKAGES="
    build-essential cmake pkg-config git
    juce-modules-source
    libasound2-dev libfreetype-dev libfontconfig1-dev libpng-dev libjpeg-dev
    libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev libxcomposite-dev libxrender-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-apps fonts-dejavu-core fonts-dejavu-extra
    lilv-utils
    python3 python3-cairo python3-numpy python3-pil pngquant
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    echo "setup: all packages present"
    exit 0
fi

echo "setup: installing$missing"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
