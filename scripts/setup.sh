#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Installs every Debian package that building, running and testing Aduplan needs.
# Run as root (or through sudo) on Debian 12.
set -e
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
    g++ make cmake pkg-config \
    qt6-base-dev libgl-dev libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n \
    libgsf-1-dev libxlsxwriter-dev libpoppler-cpp-dev libsqlite3-dev libpq-dev \
    poppler-utils unzip \
    fonts-liberation2 fonts-dejavu-core \
    dpkg-dev file desktop-file-utils man-db \
    lintian appstream debootstrap
