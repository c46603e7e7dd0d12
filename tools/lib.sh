# Shared by the scripts in tools/: source it, after setting `root` to the
# project's top directory.

# The screen every headless run gets.
xvfb_screen="-screen 0 1280x1024x24"

# Runs a command on the current display, or on a fresh Xvfb when there is none.
with_display() {
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
    else
        xvfb-run -a -s "$xvfb_screen" "$@"
    fi
}

# Installs the Debian packages named that are missing (apt-get, with sudo when not root).
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The updater built in this build directory (CMake writes its path there).
app_in() {
    cat "$1/davirodir-app-path"
}
