#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# As root, missing packages are installed with apt-get; otherwise the missing
# ones are named and the script fails.
set -euo pipefail

# python3 writes the manual page from the README while building.
packages=(cmake g++ make pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
          libabsl-dev libstb-dev libassimp-dev zlib1g-dev libx11-dev libglm-dev libeigen3-dev
          nlohmann-json3-dev python3)
# Building the Debian package (cpack needs dpkg-shlibdeps and file) and checking it and the
# installed files: lintian, desktop-file-validate, update-mime-database, man.
deb_packages=(dpkg-dev file binutils lintian desktop-file-utils shared-mime-info man-db)
# libxfixes-dev: a window test reads the cursor shown over the window; godot3: a game engine
# imports and poses the glTF exports.
test_packages=(libgtest-dev xvfb xauth xdotool python3 imagemagick libxfixes-dev "${deb_packages[@]}")
if [ "${1:-}" = "--test" ]; then
  packages+=("${test_packages[@]}" godot3)
  # npm installs the glTF validator for the tests. A node from another origin
  # (NodeSource) brings its own npm, which Debian's npm package would conflict
  # with: so the commands are asked for, not the package names.
  command -v node > /dev/null || packages+=(nodejs)
  command -v npm > /dev/null || packages+=(npm)
fi
# The benchmarks draw frames under Xvfb as the window tests do, and compare
# our model reader with tinyobjloader's and Assimp's; nothing else links
# tinyobjloader.
if [ "${1:-}" = "--bench" ]; then
  packages+=("${test_packages[@]}" libtinyobjloader-dev)
fi
if [ "${1:-}" = "--deb" ]; then
  packages+=("${deb_packages[@]}")
fi
if [ "${1:-}" = "--coverage" ]; then
  packages+=(gcovr)
fi
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev python3)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
else
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
