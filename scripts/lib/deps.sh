# Installs the Debian packages the build needs when any is missing.
# Sourced by scripts/run and scripts/test.
PAIRLY_PACKAGES=(cmake g++ make ccache pkg-config qt6-base-dev qt6-charts-dev libgl-dev
                 libgtest-dev libgmock-dev libbenchmark-dev fonts-noto-cjk xvfb xauth)

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
