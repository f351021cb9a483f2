#!/usr/bin/env bash
# Checks a built Oakridge package: lintian finds no error, the package removes without a trace
# (no maintainer scripts, so `apt remove` leaves nothing in dpkg's database), its dependencies came
# from the binaries, and every file lies below /usr. Prints lintian's full report.
# Usage: check-deb.sh path/to/oakridge_<version>_<arch>.deb
set -uo pipefail
deb=${1:?usage: check-deb.sh PACKAGE.deb}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1 | grep -v '^running with root privileges'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors"

scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -Ex 'preinst|postinst|prerm|postrm|config|triggers')
[ -z "$scripts" ] || fail "the package has maintainer scripts: $scripts"
depends=$(dpkg-deb --field "$deb" Depends)
for package in libc6 libgtk-3-0 libpugixml1v5 libudev1 fonts-dejavu-core; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
outside=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -Ev '^\./(usr/.*)?$')
[ -z "$outside" ] || fail "files outside /usr: $outside"
owners=$(dpkg-deb --contents "$deb" | awk '$2 != "root/root" {print $6}')
[ -z "$owners" ] || fail "files not owned by root: $owners"

[ "$failures" -eq 0 ] && echo "$deb: fine"
[ "$failures" -eq 0 ]
