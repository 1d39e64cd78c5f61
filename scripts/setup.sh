#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine and builds the MinGW
# copies of libpng and libjpeg once. Safe to run again: it only does what
# is still missing, and prints nothing when there is nothing to do.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
export DEBIAN_FRONTEND=noninteractive

say() { printf 'setup: %s\n' "$*" >&2; }

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

apt_updated=0
apt_update_once() {
  if [ "$apt_updated" = 0 ]; then
    as_root apt-get update -qq >/dev/null
    apt_updated=1
  fi
}

missing_packages() {
  local pkg
  cat "$here"/packages*.txt | sed 's/#.*//' | tr -s ' \t' '\n' | sed '/^$/d' | sort -u |
    while read -r pkg; do
      dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' ||
        echo "$pkg"
    done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  say "installing:" $missing
  apt_update_once
  # shellcheck disable=SC2086
  as_root apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Source packages come from the same archives as the binary ones: derive a
# deb-src twin of every configured entry instead of naming any host.
enable_deb_src() {
  local etc parts list out
  eval "$(apt-config shell etc Dir::Etc/d parts Dir::Etc::sourceparts/d list Dir::Etc::sourcelist/f)"
  out="$parts/klipora-deb-src.sources"
  [ -f "$out" ] && return 0
  say "enabling source packages"
  {
    for f in "$parts"/*.sources; do
      [ -f "$f" ] && [ "$f" != "$out" ] && sed -n 's/^Types:.*\bdeb\b.*$/Types: deb-src/;p' "$f" && echo
    done
  } | as_root tee "$out.tmp" >/dev/null
  if [ -f "$list" ]; then
    sed -n 's/^deb \(.*\)$/deb-src \1/p' "$list" | as_root tee "$parts/klipora-deb-src.list" >/dev/null
  fi
  as_root mv "$out.tmp" "$out"
  apt_updated=0
  apt_update_once
}

build_mingw_deps() {
  local deps="$root/build/deps" prefix="$root/build/deps/mingw"
  local stamp="$prefix/.built-v1"
  [ -f "$stamp" ] && return 0
  enable_deb_src
  say "building libjpeg-turbo and libpng for MinGW (once, cached in build/deps)"
  rm -rf "$deps/src" "$prefix"
  mkdir -p "$deps/src"
  (cd "$deps/src" && apt-get source -qq libjpeg-turbo/bookworm libpng1.6/bookworm >/dev/null 2>&1)
  local jpeg png
  jpeg=$(find "$deps/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
  png=$(find "$deps/src" -maxdepth 1 -type d -name 'libpng1.6-*' | head -n1)
  local common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
                -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
                -DKLIPORA_DEPS_PREFIX="$prefix")
  SOURCE_DATE_EPOCH=$(cd "$jpeg" && dpkg-parsechangelog -STimestamp) \
    cmake -S "$jpeg" -B "$deps/build-jpeg" "${common[@]}" -Wno-dev \
      -DENABLE_SHARED=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DWITH_TURBOJPEG=OFF \
      -DCMAKE_ASM_NASM_FLAGS=--reproducible >/dev/null
  cmake --build "$deps/build-jpeg" --target install >/dev/null
  SOURCE_DATE_EPOCH=$(cd "$png" && dpkg-parsechangelog -STimestamp) \
    cmake -S "$png" -B "$deps/build-png" "${common[@]}" -Wno-dev \
      -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF >/dev/null
  cmake --build "$deps/build-png" --target install >/dev/null
  touch "$stamp"
}

# vsftpd and pure-ftpd conflict as packages, but the tests run both: the one
# that is not installed is unpacked from its package into build/deps.
unpack_second_ftp_server() {
  local target="$root/build/deps/unpacked-pure-ftpd"
  [ -x "$target/usr/sbin/pure-ftpd" ] && return 0
  command -v pure-ftpd >/dev/null 2>&1 && return 0
  say "unpacking pure-ftpd into build/deps"
  apt_update_once
  local debs="$root/build/deps/debs"
  rm -rf "$debs" && mkdir -p "$debs"
  (cd "$debs" && apt-get download -q pure-ftpd >/dev/null 2>&1)
  dpkg-deb -x "$debs"/pure-ftpd_*.deb "$target"
}

install_packages
build_mingw_deps
unpack_second_ftp_server
