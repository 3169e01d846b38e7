#!/usr/bin/env bash
# Builds the Debian package of the production build, installs it with apt,
# checks where its files land and starts the installed program, whose
# production hosts are unreachable here. Root and CI only: it changes the machine.
set -euo pipefail
if [ "$(id -u)" -ne 0 ] || [ "${CI:-}" != "true" ]; then
  echo "skipped: installs a package, so it runs only in CI as root"
  exit 77
fi
source_dir=$1
work=$(mktemp -d)
trap 'apt-get remove -y vexaline >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVEXALINE_BUILD_TESTS=OFF -DVEXALINE_SITES=production >/dev/null
cmake --build "$work/build" >/dev/null
(cd "$work/build" && cpack -G DEB >/dev/null)
package=$(ls "$work"/build/vexaline_*.deb)
echo "package: $(basename "$package"), $(du -k "$package" | cut -f1) KiB"
dpkg-deb -f "$package" Depends
DEBIAN_FRONTEND=noninteractive apt-get install -y "$package" >/dev/null

for file in /usr/bin/vexaline /usr/share/applications/org.vexaline.Vexaline.desktop \
            /usr/share/metainfo/org.vexaline.Vexaline.metainfo.xml \
            /usr/share/icons/hicolor/64x64/apps/vexaline.png \
            /usr/share/icons/hicolor/scalable/apps/vexaline.svg; do
  [ -f "$file" ] || { echo "missing: $file"; exit 1; }
done
desktop-file-validate /usr/share/applications/org.vexaline.Vexaline.desktop

VEXALINE_BINARY=/usr/bin/vexaline python3 "$source_dir/tests/package/run_installed.py"
