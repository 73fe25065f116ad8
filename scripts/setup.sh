#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the editor need.
# Does nothing when they are all there already.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools
    libsqlite3-dev
    wordnet-base wamerican wbritish wcanadian
    desktop-file-utils appstream xvfb xauth x11-utils
    dpkg-dev lintian
    at-spi2-core python3-pyatspi dbus-x11 gir1.2-atspi-2.0
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
