# Installs the Debian packages of the build and test environment when any is missing.
PELLUX_PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    cmake make wine wine64 xvfb xauth libgl1-mesa-dri libglx-mesa0
    pocl-opencl-icd ocl-icd-libopencl1 opencl-c-headers libz-mingw-w64-dev
    googletest imagemagick xz-utils dpkg-dev fonts-wine fonts-dejavu-core fonts-liberation
    g++ zlib1g-dev  # the build machine's own compiler and zlib, for the sphere mesh generator
)

install_packages() {
    local missing=()
    for p in "${PELLUX_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    as_root apt-get update -q >/dev/null
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null \
        || die "apt-get install failed"
}
