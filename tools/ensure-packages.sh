# Sourced by run.sh and test.sh: installs the Debian packages that are missing, as root or
# through sudo, and leaves the ones already there alone.

# What building and starting the program needs: the sheet is drawn in fonts-roboto-unhinted's
# Roboto Condensed, the face the package depends on, in every build; Qt's own dialogs speak
# Hungarian from qt6-translations-l10n, which the package recommends.
ZEV_BUILD_PACKAGES=(g++ make cmake qt6-base-dev qt6-translations-l10n fonts-roboto-unhinted
                    fonts-liberation fonts-dejavu-core)

# What the tests need on top: an X server and input events for the end-to-end tests; an
# accessibility bus (whose on-switch is kept in GSettings) and a screen reader's client
# library; a screen reader itself, with a window manager and a speech server to talk to; the Qt
# headers that switch accessibility on in-process; Python, strace and the ACL and attribute
# tools for the save's fault and identity tests; FUSE file systems (bindfs, exFAT and NTFS with
# their format tools) for the mounted saves; a private CUPS server and its client for the
# printed page, and poppler's tools to read a page back as text; a peak-memory timer for the
# benchmarks;
# validators, dpkg tools and the manual page viewer for the package; the analysers.
ZEV_TEST_PACKAGES=(qt6-base-private-dev xvfb xdotool procps dbus-daemon dbus-bin at-spi2-core
                   dconf-gsettings-backend python3 python3-pyatspi orca openbox speech-dispatcher
                   strace acl attr time cups-daemon cups-client poppler-utils fuse3 bindfs exfat-fuse exfatprogs ntfs-3g
                   desktop-file-utils appstream dpkg-dev file man-db
                   clang-tidy cppcheck clang libclang-rt-dev util-linux mount git)

zev_missing_packages() {
    local package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
        [ "$status" = installed ] || printf '%s\n' "$package"
    done
}

zev_ensure_packages() {
    local missing
    mapfile -t missing < <(zev_missing_packages "$@")
    [ "${#missing[@]}" -eq 0 ] && return 0
    echo "Installing missing Debian packages: ${missing[*]}"
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "error: these packages are missing and installing them needs root or sudo: ${missing[*]}" >&2
            return 1
        fi
        as_root=(sudo)
    fi
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
}
