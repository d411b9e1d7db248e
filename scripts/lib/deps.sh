# Installs the Debian packages the build needs when any is missing, and configures the
# build with one clear line when a CMake package is still missing.
# Sourced by scripts/run, scripts/test, scripts/bench and scripts/package.
#
# Install with --no-install-recommends, so every package the configure step needs is named
# here: the Qt 6 Charts CMake package needs the Qt 6 OpenGL files (libqt6opengl6-dev), which
# qt6-base-dev only recommends. The validators of the menu entry and the AppStream data
# (desktop-file-utils, appstream) serve the tests; dpkg-dev and file let CPack find the Debian
# package's dependencies. The phone page needs its HTTP server (libmicrohttpd-dev) and QR
# codes (libqrencode-dev); its tests drive headless Chromium with Selenium.
PAIRLY_PACKAGES=(cmake g++ make ccache pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev
                 libgl-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-noto-cjk xvfb xauth
                 strace clang-14 libclang-rt-14-dev qt6-translations-l10n desktop-file-utils
                 appstream dpkg-dev file libxxhash-dev libmicrohttpd-dev libqrencode-dev chromium
                 chromium-driver python3-selenium)

ensure_packages() {
    local missing=()
    for p in "${PAIRLY_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "These packages are missing and this user cannot install them: ${missing[*]}" >&2
            echo "Ask an administrator to run: apt-get install ${missing[*]}" >&2
            return 1
        fi
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The Debian package that provides a CMake package of the build.
debian_package_for() {
    case "$1" in
        Qt6Charts*) echo qt6-charts-dev ;;
        Qt6OpenGL*) echo libqt6opengl6-dev ;;
        Qt6* | Qt6) echo qt6-base-dev ;;
        OpenGL | WrapOpenGL) echo libgl-dev ;;
        GTest) echo libgtest-dev ;;
        GMock) echo libgmock-dev ;;
        benchmark) echo libbenchmark-dev ;;
        libmicrohttpd) echo libmicrohttpd-dev ;;
        libqrencode) echo libqrencode-dev ;;
        *) echo "" ;;
    esac
}

# cmake_configure SOURCE BUILD [ARGS...]: runs the configure step quietly; when it fails,
# prints one line naming the missing CMake package and its Debian package (the full log
# stays in BUILD/configure.log).
cmake_configure() {
    local src="$1" build="$2"
    shift 2
    mkdir -p "$build"
    if cmake -S "$src" -B "$build" "$@" >"$build/configure.log" 2>&1; then
        return 0
    fi
    # The deepest cause first: a dependency that is missing, then a package, then a component.
    local log="$build/configure.log" missing=""
    missing=$(grep -o -E 'dependency [A-Za-z0-9_]+ could not be found' "$log" | head -n 1 | cut -d' ' -f2)
    [ -n "$missing" ] || missing=$(grep -o -E 'Could NOT find ([A-Za-z0-9_]+) \(missing: \1_DIR\)' "$log" | head -n 1 | cut -d' ' -f4)
    [ -n "$missing" ] || missing=$(grep -o -E 'package configuration file provided by "[A-Za-z0-9_]+"' "$log" | head -n 1 | cut -d'"' -f2)
    [ -n "$missing" ] || missing=$(grep -o -E 'required Qt component "[A-Za-z0-9_]+"' "$log" | head -n 1 | cut -d'"' -f2 | sed 's/^/Qt6/')
    [ -n "$missing" ] || missing=$(grep -o -E "No package '[A-Za-z0-9_.-]+' found" "$log" | head -n 1 | cut -d"'" -f2)
    if [ -n "$missing" ]; then
        local pkg
        pkg=$(debian_package_for "$missing")
        echo "Configure failed: CMake package $missing is missing${pkg:+ (Debian package $pkg: apt-get install $pkg)}; full log in $build/configure.log" >&2
    else
        echo "Configure failed; full log in $build/configure.log:" >&2
        tail -n 15 "$build/configure.log" >&2
    fi
    return 1
}
