# Shared by scripts/run and scripts/test: installs what is missing and builds.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

missing_packages() {
    local wanted
    wanted=$(grep -v '^#' "$ROOT/scripts/packages" | sed '/^$/d')
    # dpkg-query prints "install ok installed" for every package that is fully there.
    for pkg in $wanted; do
        dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || echo "$pkg"
    done
}

install_packages() {
    local missing
    missing=$(missing_packages)
    # Debian's nodejs comes without npm, which the calendar comparison needs;
    # a nodejs build that bundles npm conflicts with Debian's npm package.
    command -v npm >/dev/null || missing="$missing npm"
    [ -z "$missing" ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: $(echo $missing | tr '\n' ' ')"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# CI sets RAVEZAZ_WERROR=ON, so a compiler warning fails its build.
WERROR_OPTION="-DRAVEZAZ_WERROR=${RAVEZAZ_WERROR:-OFF}"

build_program() {
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$WERROR_OPTION" "$@" >/dev/null
    cmake --build "$BUILD" -j"$(nproc)"
}
