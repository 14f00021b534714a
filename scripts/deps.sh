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
  local p
  for p in "${QUILLMERE_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
