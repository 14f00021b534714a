# Sourced by scripts/run and scripts/test: installs the Debian packages the project needs,
# only those that are missing.
QUILLMERE_PACKAGES=(
  build-essential cmake ninja-build clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl1-mesa-dev
  fonts-liberation libcurl4-openssl-dev
  admesh view3dscene
  xvfb xauth python3-pyftpdlib python3-pymatgen
  librsvg2-bin poppler-utils
  xdotool desktop-file-utils appstream lintian dpkg-dev shared-mime-info
  libuemf-dev emf2svg libwmf-bin
  libsodium-dev minisign pkgconf
  python3-numpy g++-aarch64-linux-gnu qemu-user
)

quillmere_install_packages() {
  local missing=()
  local p installed
  # One query for all of them: asking package by package takes seconds.
  installed=" $({ dpkg-query -W -f='${Package} ${Status}\n' "${QUILLMERE_PACKAGES[@]}" 2>/dev/null ||
    true; } | awk '/ install ok installed$/ {printf "%s ", $1}')"
  for p in "${QUILLMERE_PACKAGES[@]}"; do
    [[ "$installed" == *" $p "* ]] || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
