#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the configurator.
set -euo pipefail
PKGS=(build-essential cmake ninja-build pkg-config
      qtbase5-dev qtdeclarative5-dev qtmultimedia5-dev libqt5multimedia5-plugins
      qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qttest qml-module-qtmultimedia
      qml-module-qtgraphicaleffects
      gstreamer1.0-plugins-good gstreamer1.0-plugins-base
      libhidapi-dev libudev-dev libx11-dev libxi-dev
      xvfb xauth xdotool)
missing=()
for p in "${PKGS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
