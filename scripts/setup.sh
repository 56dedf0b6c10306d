#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine
# (run as root) and prepares the project's own Wine prefix. Idempotent: when
# everything is present it only checks and returns.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive

pkgs=(g++-mingw-w64-i686 mingw-w64-i686-dev cmake make
      wine wine32 wine64 xvfb xauth x11-utils imagemagick xdotool
      locales fonts-noto-cjk fonts-wine unicode-data googletest bzip2 python3)

missing=()
step() { echo "setup: $*" >&2; }
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  step "adding the i386 architecture (Wine's 32-bit half)"
  dpkg --add-architecture i386
  need_update=1
fi
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  step "reading the package lists"
  apt-get update -qq
  step "installing ${#missing[@]} packages (${missing[*]}); the first time this takes a few minutes"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  step "generating the zh_CN.UTF-8 locale"
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

"$here/scripts/wineprefix.sh"
