#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: does nothing (and says nothing) when all packages and the locale are present.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev
  libgtest-dev libgmock-dev libbenchmark-dev libqhull-dev
  libemf-dev libsqlite3-dev fonts-liberation
  lib3mf-dev libocct-data-exchange-dev libtbb-dev admesh
  cups cups-bsd printer-driver-cups-pdf emf2svg poppler-utils
  xvfb xauth
  clang libclang-rt-14-dev
  locales
  desktop-file-utils libxml2-utils shared-mime-info help2man dpkg-dev file
)
# A locale with a decimal comma, so that the tests can show that numbers keep their point in it.
COMMA_LOCALE="de_DE.UTF-8"

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

has_comma_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'
}

generate_comma_locale() {
  has_comma_locale && return 0
  echo "Generating the locale $COMMA_LOCALE"
  $SUDO sed -i "s/^# *\($COMMA_LOCALE UTF-8\)/\1/" /etc/locale.gen
  grep -qx "$COMMA_LOCALE UTF-8" /etc/locale.gen || echo "$COMMA_LOCALE UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  generate_comma_locale
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
generate_comma_locale
