# Sourced by scripts/test and scripts/run: installs the Debian packages that are missing.
quelna_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}
QUELNA_BUILD_PACKAGES=(cmake make g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
                       xvfb xauth fonts-liberation fonts-dejavu-core qt6-translations-l10n
                       pkg-config libboost-dev zlib1g-dev libqrencode-dev poppler-utils
                       python3)
# The fuzz targets (scripts/fuzz): clang with the libFuzzer runtime.
QUELNA_FUZZ_PACKAGES=(cmake make clang libclang-rt-14-dev)
# Only for looking at the players' pages as a phone shows them (screenshots); no test needs it.
QUELNA_LOOK_PACKAGES=(chromium)
# The Debian package (scripts/package): CPack's dependency computation (dpkg-shlibdeps from
# dpkg-dev, file), and the checks of the package and of its AppStream metainfo.
QUELNA_PACKAGING_PACKAGES=(dpkg-dev file lintian appstream)
# The Windows build and its run under Wine (scripts/test-windows).
QUELNA_WINDOWS_PACKAGES=(cmake make g++ g++-mingw-w64-x86-64-posix wine64 libboost-dev
                         libz-mingw-w64-dev python3 python3-fonttools fonts-liberation
                         fonts-dejavu-core fonts-wine)
# Qt and libqrencode for Windows, built from Debian's sources (scripts/qt-windows): apt-get source
# needs dpkg-dev; Qt's moc, rcc and uic and Qt's Russian (the same files) come from the Linux Qt.
QUELNA_QT_WINDOWS_PACKAGES=(cmake ninja-build dpkg-dev g++-mingw-w64-x86-64-posix qt6-base-dev
                            qt6-base-dev-tools qt6-translations-l10n libqrencode-dev)
# The Windows setup (scripts/package-windows): NSIS.
QUELNA_WINDOWS_PACKAGING_PACKAGES=(nsis)
