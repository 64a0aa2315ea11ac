#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the window need.
# Does nothing when every package is already present; runs apt-get update only
# when something has to be installed.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev
    libicu-dev unicode-data bzip2
    libexpat1-dev libdeflate-dev zlib1g-dev
    libgtest-dev libgmock-dev
    libcli11-dev nlohmann-json3-dev
    xvfb xauth
    desktop-file-utils appstream man-db
)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
