#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine
# (run as root) and prepares the project's own Wine prefixes. Idempotent: when
# everything is present it only checks and returns. Both compilers install on
# every machine (both are amd64 programs); the i386 architecture, wine32 and the
# 32-bit prefix only where 32-bit programs run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export DEBIAN_FRONTEND=noninteractive
. "$here/scripts/flavour.sh"
pinyin_choose_flavours
pinyin_say_flavours

pkgs=(cmake make wine wine64 xvfb xauth x11-utils imagemagick xdotool
      locales fonts-noto-cjk fonts-wine unicode-data googletest bzip2 python3)
for f in $PINYIN_FLAVOURS $PINYIN_RUN_FLAVOUR; do
  case $f in
  win32)
    pkgs+=(g++-mingw-w64-i686 mingw-w64-i686-dev)
    [ "$PINYIN_CAN_RUN_32" != 1 ] || pkgs+=(wine32:i386) ;;
  win64) pkgs+=(g++-mingw-w64-x86-64 mingw-w64-x86-64-dev) ;;
  esac
done

missing=()
need_update=0
step() { echo "setup: $*" >&2; }
case " ${pkgs[*]} " in
*":i386 "*)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "adding the i386 architecture (Wine's 32-bit half)"
    dpkg --add-architecture i386
    need_update=1
  fi ;;
esac
for p in "${pkgs[@]}"; do
  case " ${missing[*]:-} " in *" $p "*) continue ;; esac
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  step "reading the package lists"
  apt-get update -qq
  step "installing ${#missing[@]} packages (${missing[*]}); the first time this takes a few minutes"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ "$need_update" = 1 ]; then
  apt-get update -qq
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  step "generating the zh_CN.UTF-8 locale"
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

for f in $PINYIN_FLAVOURS; do
  if [ "$f" = win32 ] && [ "$PINYIN_CAN_RUN_32" != 1 ]; then continue; fi
  PINYIN_FLAVOUR=$f "$here/scripts/wineprefix.sh"
done
