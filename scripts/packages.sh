# Installs the Debian packages that are missing, as root or through sudo. Sourced by run.sh and
# test.sh: `install_missing_packages <package>...`.
install_missing_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These packages are missing and this user cannot install them: ${missing[*]}" >&2
            echo "Install them as root (apt-get install ${missing[*]}) and run this command again." >&2
            exit 1
        fi
        as_root=(sudo)
    fi
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# What building and running the program needs.
BRIVANTO_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev qt6-multimedia-dev libqt6svg6 qt6-qpa-plugins qt6-translations-l10n
    libgl-dev libfontconfig-dev
    fonts-liberation fonts-dejavu-core
    # The camera at run time: Qt's multimedia backend builds its capture pipeline from these.
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    # Opening a document with the desktop's application for it (the export, attachments, guide).
    xdg-utils
)
# What the tests need on top: a virtual display for real windows, a PDF text reader, a headless
# spreadsheet program that opens the exported worksheet.
BRIVANTO_TEST_PACKAGES=(
    xvfb xauth xdotool x11-utils poppler-utils libreoffice-calc-nogui
    # Checks the menu entry that the install step writes.
    desktop-file-utils
    # A real print system: the CUPS scheduler and a printer that writes each job as a PDF file.
    cups printer-driver-cups-pdf
    # The desktop's accessibility bus on a D-Bus session, and the screen readers' way to read it.
    at-spi2-core dbus-x11 python3-pyatspi
)
