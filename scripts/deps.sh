# Sourced by run.sh and test.sh: installs the Debian packages the project needs
# when any is missing (apt-get as root, through sudo otherwise).

KALVORO_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev fonts-liberation nlohmann-json3-dev
)
# Used by the tests only: independent metafile readers, PDF tools, an XML
# checker for the SVG pages, and dpkg-shlibdeps for the Debian package test.
KALVORO_TEST_PACKAGES=(
  libwmf-bin fonts-urw-base35 imagemagick libmagickcore-6.q16-6-extra poppler-utils
  libxml2-utils dpkg-dev file
)
# To look at the windows without a display.
KALVORO_RUN_PACKAGES=(xvfb xauth)

kalvoro_install_missing() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
