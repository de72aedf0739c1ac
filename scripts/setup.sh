#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian machine, as root.
# Idempotent: when every package and both locales are present it only checks and returns.
set -euo pipefail

packages=(cmake make g++-mingw-w64-i686-posix wine wine32:i386 wine64
          xvfb xauth imagemagick fonts-wqy-microhei fonts-wine locales googletest)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests run the tool as on a Chinese and as on an English system: each locale on its own.
generate=false
for locale in zh_CN en_US; do
  locale -a 2>/dev/null | grep -qix "$locale.utf8" && continue
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: the locale $locale.UTF-8 is missing; run as root to generate it" >&2
    exit 1
  fi
  grep -qx "$locale.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null || echo "$locale.UTF-8 UTF-8" >> /etc/locale.gen
  generate=true
done
if $generate; then locale-gen >/dev/null; fi

bash "$(dirname "$0")/enable-i386.sh"
