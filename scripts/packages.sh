# Debian 12 packages, by what they are needed for.
BUILD_PACKAGES="build-essential cmake ninja-build pkg-config libgtk-3-dev libwebkit2gtk-4.1-dev libcurl4-openssl-dev libx11-dev"
# What the viewer needs at run time beyond its libraries: stream decoders,
# the engine's sandbox helpers, a font for the Chinese captions, dialog icons.
RUN_PACKAGES="gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav bubblewrap xdg-dbus-proxy fonts-wqy-microhei adwaita-icon-theme"
TEST_PACKAGES="googletest libgtest-dev python3 xvfb openbox xdotool x11-utils imagemagick ffmpeg desktop-file-utils appstream dpkg-dev openssl dbus-daemon at-spi2-core python3-pyatspi clang libclang-rt-14-dev"
DEMO_PACKAGES="python3 ffmpeg"
# The benchmark's peer and a sound server for playing with sound; it also
# needs npm (the "npm" package where no other Node.js provides it).
BENCH_PACKAGES="chromium pulseaudio"

install_packages() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # Skip apt when everything is there already.
  if dpkg-query -W -f='${Status}\n' "$@" 2>/dev/null | grep -qv "install ok installed" ||
     [ "$(dpkg-query -W -f='${Status}\n' "$@" 2>/dev/null | wc -l)" -ne "$#" ]; then
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "$@"
  fi
}
