#!/bin/sh
# Installs what building, testing and running the plug-in need on Debian 12 (run as root).
set -eu
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
    build-essential cmake ninja-build pkg-config ca-certificates git clang-format \
    libgtest-dev libgmock-dev libbenchmark-dev \
    libpng-dev zlib1g-dev libcairo2-dev libx11-dev libxtst-dev libxrandr-dev libfontconfig-dev \
    libsndfile1-dev fonts-liberation xvfb \
    dpkg-dev file help2man lintian unzip \
    lv2-dev liblilv-dev lilv-utils serdi libsuil-dev libgtk-3-dev libgtk2.0-dev \
    dpf-source juce-modules-source-data zam-plugins nsis imagemagick
