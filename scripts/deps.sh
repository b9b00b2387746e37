# Installs the Debian packages a job needs, once: apt-get runs only when one of
# them is missing, so running a command again costs nothing.
# Usage: source scripts/deps.sh; qvs_install_packages pkg...
qvs_install_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and testing the core needs.
QVS_CORE_PACKAGES=(build-essential cmake ninja-build pkg-config googletest
    nginx curl clang lld libclang-rt-14-dev g++-mingw-w64-x86-64-posix wine64 python3 tar time
    default-jdk-headless libgcrypt20-dev libgcrypt-mingw-w64-dev libgpg-error-mingw-w64-dev openssl
    libasio-dev libnginx-mod-stream systemd osslsigncode)

# What the Qt windows, their pictures and their end-to-end tests need.
QVS_GUI_PACKAGES=(qt6-base-dev qt6-multimedia-dev qt6-webengine-dev libturbojpeg0-dev
    libx11-dev xvfb xauth xdotool x11-utils imagemagick fonts-liberation2 fonts-wine python3-fonttools)

# What building the benchmarks needs (never the test command's).
QVS_BENCH_PACKAGES=(build-essential cmake ninja-build pkg-config googletest libbenchmark-dev
    libgcrypt20-dev libasio-dev python3 time)

# What making the release's installers needs (scripts/release.sh and their tests).
QVS_RELEASE_PACKAGES=(nsis dpkg-dev lintian osslsigncode p7zip-full)
