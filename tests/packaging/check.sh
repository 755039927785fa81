#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The packages as a distribution would take them: built twice, from copies
# of the sources in different directories, under umask 022 and 077, with one
# SOURCE_DATE_EPOCH, they must come out the same: the .rpm files byte for
# byte, the .deb files member by member (ar keeps each member's mode, and
# that alone follows the umask; dpkg reads none of it); lintian
# --pedantic must find no error and no warning in the .debs, nor rpmlint in
# the .rpms. Usage: tests/packaging/check.sh (from anywhere; needs lintian,
# rpmbuild and rpmlint)
set -euo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct 2>/dev/null || echo 1796515200)}

for build in one two; do
  mkdir -p "$tmp/$build/sources-$build"
  (cd "$source" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$tmp/$build/sources-$build")
  [ $build = one ] && mask=022 || mask=077
  (umask $mask && cd "$tmp/$build" &&
    cmake -S sources-$build -B build -DBUILD_TESTING=OFF >/dev/null && cmake --build build >/dev/null &&
    cd build && cpack -G "DEB;RPM" >/dev/null)
done
same() { # same PACKAGE [AR-MEMBER]
  if [ $# -eq 1 ]; then
    cmp "$tmp/one/build/$1" "$tmp/two/build/$1"
  else
    cmp <(ar p "$tmp/one/build/$1" "$2") <(ar p "$tmp/two/build/$1" "$2")
  fi || { echo "$1 $2 differs between two builds" >&2; exit 1; }
}
cd "$tmp/one/build"
for package in *.rpm; do
  same "$package"
done
for package in *.deb; do
  for member in $(ar t "$package"); do
    same "$package" "$member"
  done
done
cd - >/dev/null
echo "the same packages from both builds: $(cd "$tmp/one/build" && echo *.deb *.rpm)"

lintian --pedantic --fail-on error,warning --display-info "$tmp"/one/build/*.deb
rpmlint -c "$source/tests/packaging/rpmlint.toml" "$tmp"/one/build/*.rpm
