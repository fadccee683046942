#!/usr/bin/env bash
# Builds the Debian package: Release build for /usr, made with CPack (dependencies from the
# shared libraries), then checked with lintian. Needs no root; asks through sudo only for
# missing tools. Prints the package's name, contents and lintian's findings.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh dpkg-dev lintian

# Debian's hardening flags, all of them, as its own packages are built with.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build build/package -j2
rm -f build/package/*.deb
(cd build/package && cpack -G DEB >/dev/null)
deb=$(ls build/package/*.deb)

dpkg-deb --field "$deb"
dpkg-deb --contents "$deb"
echo "== lintian"
lintian --fail-on error --display-info "$deb" || { echo "lintian found errors in $deb" >&2; exit 1; }
echo "Package: $deb ($(du -h "$deb" | cut -f1))"
echo "Install it with:  sudo apt-get install ./$deb"
