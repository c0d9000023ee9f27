#!/usr/bin/env bash
# Checks the Debian package the way Debian checks one, as root inside a fresh root that may be
# changed at will (never on a machine someone uses):
#
#   tools/debian-root.sh SUITE tools/package-check.sh
#
# Installs the build dependencies, builds the package twice from clean copies of this tree
# with dpkg-buildpackage and compares the two .deb files byte for byte, runs lintian (no error,
# no warning) and hardening-check (five protections), installs the package with apt, runs its
# autopkgtest smoke test, purges it and checks that none of its files is left. Ends with one
# line: the checksums and the verdict.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
work=$(mktemp -d /var/tmp/zev-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
export DEBIAN_FRONTEND=noninteractive
say() { echo "== package-check: $*"; }
fail() { echo "FAIL: package-check: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "needs root, in a root made for it (tools/debian-root.sh)"

say "build dependencies"
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends build-essential dpkg-dev lintian devscripts \
    autopkgtest appstream >/dev/null
apt-get build-dep -y -q ./ >/dev/null

# build NAME: the package from a clean copy of the tree in a folder of its own.
build() {
    mkdir -p "$work/$1/zev"
    tar -C "$top" --exclude=.git -cf - . | tar -C "$work/$1/zev" -xf -
    (cd "$work/$1/zev" && dpkg-buildpackage -us -uc -b -J"$(nproc)") >"$work/$1.log" 2>&1 ||
        { tail -n 40 "$work/$1.log"; fail "dpkg-buildpackage failed in $1"; }
}
say "dpkg-buildpackage -us -uc -b, twice"
build first
build second
deb=$(cd "$work/first" && ls zev_*.deb)
sums=()
for name in first second; do
    sums+=("$(sha256sum "$work/$name/$deb" | cut -d' ' -f1)")
done
echo "$deb: ${sums[0]} (first) ${sums[1]} (second)"
[ "${sums[0]}" = "${sums[1]}" ] || fail "two builds of one tree differ"
cmp -s "$work"/first/zev-dbgsym_*.deb "$work"/second/zev-dbgsym_*.deb ||
    fail "the two debug symbol packages differ"

say "lintian"
lintian --display-info --show-overrides "$work"/first/zev_*.changes | tee "$work/lintian.log" || true
! grep -E '^[EW]: ' "$work/lintian.log" || fail "lintian reports errors or warnings"

say "apt-get install ./$deb"
mapfile -t files < <(dpkg-deb -c "$work/first/$deb" | awk '{ print substr($6, 2) }' |
    sed 's|/$||' | grep .)
for file in "${files[@]}"; do [ -e "$file" ] && echo "$file"; done >"$work/before"
apt-get install -y -q "$work/first/$deb" >/dev/null

say "appstreamcli validate"
# What debian/appstream.lintian-overrides accepts, and nothing more: the project has no homepage.
metainfo=/usr/share/metainfo/io.github.zev.zev.metainfo.xml
appstreamcli validate --no-net "$metainfo" | tee "$work/appstream.log" || true
! grep -E '^[EW]: ' "$work/appstream.log" | grep -v url-homepage-missing ||
    fail "appstreamcli finds more than the missing homepage"

say "hardening-check /usr/bin/zev"
hardening-check /usr/bin/zev | tee "$work/hardening.log" || true
for protection in "Position Independent Executable" "Stack protected" \
    "Fortify Source functions" "Read-only relocations" "Immediate binding"; do
    grep -q "^ $protection: yes" "$work/hardening.log" || fail "$protection is not yes"
done

say "autopkgtest smoke test"
# autopkgtest's own runner, on this very root (its null testbed), with the built package.
autopkgtest "$work/first/$deb" "$work/first/zev" -- null || fail "the smoke test failed"

say "apt-get purge zev"
apt-get purge -y -q zev >/dev/null
for file in "${files[@]}"; do
    [ -e "$file" ] && ! grep -qxF "$file" "$work/before" && echo "left behind: $file"
done >"$work/left"
[ ! -s "$work/left" ] || { cat "$work/left"; fail "the purge left files behind"; }

echo "package-check: Debian $(cat /etc/debian_version): $deb sha256 ${sums[0]} twice;" \
    "lintian clean; hardening 5 of 5; installed, smoke test passed, purged clean: PASS"
