# Sourced: the environment every Wine run of the project uses.
export WINEPREFIX="${PINYIN_WINEPREFIX:-$HOME/.cache/pinyin-renamer/wine32}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8
