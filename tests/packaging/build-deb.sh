#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds a release's source tarball as a Debian packager would: the minimal
# debhelper packaging in debian/ here, unpacked beside secs-VERSION.tar.gz,
# built offline with dpkg-buildpackage. Then says how many tests dh_auto_test
# ran, what blhc finds in the build log and lintian in the packages, and runs
# the table of that (shared) build again under faketime, whose preloaded
# library holds a descriptor of its own in every process.
# Usage (as root, on Debian): build-deb.sh secs-VERSION.tar.gz
set -euo pipefail
tarball=$(cd "$(dirname "$1")" && pwd)/${1##*/}
here=$(cd "$(dirname "$0")" && pwd)
version=${tarball##*/secs-}
version=${version%.tar.gz}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$tarball" "$work/secs_$version.orig.tar.gz"
tar -C "$work" -xzf "$tarball"
source=$work/secs-$version
cp -R "$here/debian" "$source/"
# The two files that name the version and the licence are written from the tarball's.
cat >"$source/debian/changelog" <<END
secs ($version-1) unstable; urgency=medium

  * Packaging check.

 -- secs packaging check <packaging-check@example.org>  $(date -R -u -d "@${SOURCE_DATE_EPOCH:-$(stat -c %Y "$tarball")}")
END
{
  printf '%s\n' "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    "Upstream-Name: secs" "" "Files: *" "Copyright: 2026 The secs developers" "License: Expat"
  sed -n '/^Permission is hereby granted/,$p' "$source/LICENSE" | sed 's/^$/./; s/^/ /'
} >"$source/debian/copyright"

if ! (cd "$source" && unshare -n dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1; then
  tail -n 60 "$work/build.log"
  exit 1
fi
ran=$(sed -n 's/^100% tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' "$work/build.log")
[ "${ran:-0}" -gt 0 ] || { grep -A20 'dh_auto_test' "$work/build.log"; echo "dh_auto_test ran no tests" >&2; exit 1; }
echo "dh_auto_test: $ran tests, all passed"
blhc --all --debian "$work/build.log"
echo "blhc: no missing hardening flag"
# initial-upload-closes-no-bugs: the fixture's changelog closes no ITP bug.
lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs "$work"/secs_"$version"-1_*.changes
echo "lintian: clean"
echo "the table under faketime:"
faketime -f +100d "$source"/obj-*/tests/secs_test --gtest_brief=1 | tail -n 3
