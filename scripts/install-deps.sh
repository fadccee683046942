#!/usr/bin/env bash
# Installs on Debian 12 whatever the build, the tests and the program need and is missing, as
# root or through sudo. Extra package names given as arguments are installed too (package.sh).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libasound2-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libboost-math-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth
  fonts-dejavu-core fonts-liberation
  locales qt6-translations-l10n
)

# The installed-program tests: desktop-file validators, the MIME lookup, window captures, man pages.
packages+=(desktop-file-utils appstream libxml2-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
  imagemagick xdotool man-db)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Root's work goes through sudo for an ordinary user, and only when there is some to do.
as_root=()
((EUID == 0)) || as_root=(sudo)
needs_root() {
  if ((EUID != 0)) && ! command -v sudo >/dev/null; then
    echo "Installing needs root: $*" >&2
    exit 1
  fi
}

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  needs_root "${missing[*]}"
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The users' locale (decimal comma): the program and the test suites run in it.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
  echo "Generating the ru_RU.UTF-8 locale"
  needs_root "the ru_RU.UTF-8 locale"
  "${as_root[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
