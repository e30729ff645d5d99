#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the console need, when any is missing.
set -euo pipefail

packages=(
    cmake g++ make
    qtbase5-dev libqt5sql5-sqlite libqt5webkit5-dev libqt5websockets5-dev qttools5-dev qttools5-dev-tools
    xvfb xauth openbox xdotool x11-utils openssl
    fonts-wqy-microhei qttranslations5-l10n
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "error: packages are missing and this is not root: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
