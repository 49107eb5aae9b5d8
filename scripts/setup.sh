#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing; given
# package names, installs those instead (scripts/cups-check.sh asks for its own).
set -euo pipefail
packages=(g++ cmake make libgtest-dev libbenchmark-dev qt6-base-dev qt6-translations-l10n
          fonts-liberation2 fonts-dejavu-core poppler-utils xvfb xauth openbox x11-utils
          clang libclang-rt-14-dev)
if [ $# -gt 0 ]; then packages=("$@"); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
