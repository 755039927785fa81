#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs into an empty prefix and uses what landed there as a user would. Then it runs
# doc/stopwatch.md as written, each section that this system can run. It is POSIX sh.
# Usage: install_test.sh BUILD-DIR. A cross build sets SECS_TOOLCHAIN, and SECS_RUN names
# its emulator.
set -eu
die() {
  echo "install test: $*" >&2
  exit 1
}
build=$1
source=$(cd "${0%/*}/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
# has TOOL...: are they all here? If not, what needs them is skipped, and said.
has() {
  for tool; do
    if ! command -v "$tool" >/dev/null; then
      echo "no $tool here: what needs it is skipped"
      return 1
    fi
  done
}
cmake --install "$build" --prefix "$prefix" >/dev/null
${SECS_RUN-} "$prefix/bin/secs" true | grep -x '[0-9]*' >/dev/null || die "secs true: no number"
# Without bash-completion, the first word completes to a command name. That holds in bash 4
# and later, and in a bash without 4's builtins, which stands in for macOS's bash 3.2. grep reads
# all its input: stopping at the first match would kill the writer.
complete='source "$1"
COMP_WORDS=(secs slee)
COMP_CWORD=1
_secs
printf "%s\n" "${COMPREPLY[@]}"'
if has bash; then
  for bash3 in "" "enable -n mapfile readarray compopt"; do
    bash --norc -c "$bash3
$complete" _ "$prefix/share/bash-completion/completions/secs" | grep -x sleep >/dev/null ||
      die "bash ($bash3) does not complete secs slee"
  done
fi
# finds WANTED: does find_package(VeldmarkCore WANTED REQUIRED) take the one installed here?
finds() {
  cat >"$tmp/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.20)
project(p NONE)
find_package(VeldmarkCore $1 REQUIRED NO_DEFAULT_PATH PATHS "$prefix")
EOF
  rm -rf "$tmp/find"
  cmake -S "$tmp" -B "$tmp/find" >/dev/null 2>&1
}
# The CMake package is there, and refuses another major version and a component it lacks.
finds "1 COMPONENTS core" || die "find_package(VeldmarkCore 1 COMPONENTS core) found nothing"
for wanted in 0.9 "1 COMPONENTS bogus"; do
  if finds "$wanted"; then
    die "find_package(VeldmarkCore $wanted) found it"
  fi
done
# The .pc file names the include directory a packager staged it for
# (normalised, so that pkg-config drops /usr/include), or an absolute one as given.
DESTDIR=$tmp/stage cmake --install "$build" --component dev --prefix /usr >/dev/null
grep -x 'includedir=${prefix}/include' "$tmp/stage/usr/share/pkgconfig/veldmark-core.pc"
cmake -S "$source" -B "$tmp/absolute" -DSECS_TOOL=OFF -DCMAKE_INSTALL_INCLUDEDIR="$tmp/headers" \
  >/dev/null
cmake --install "$tmp/absolute" --prefix "$tmp/elsewhere" >/dev/null
grep -x "includedir=$tmp/headers" "$tmp/elsewhere/share/pkgconfig/veldmark-core.pc"

if [ -n "${SECS_TOOLCHAIN-}" ]; then
  echo "a cross build: the stopwatch's page is not run"
  exit 0
fi
# In a project of its own with these sources as secs/.
project=$tmp/project
mkdir -p "$project/home"
ln -s "$source" "$project/secs"
page() {
  awk -v want="$1" -f "$source/tests/page.awk" "$source/doc/stopwatch.md"
}
sections="by CMake|add_subdirectory|without CMake|library"
for section in "by pkg-config:pkg-config c++" "by Meson:pkg-config meson ninja" \
  "for Windows:x86_64-w64-mingw32-g++-posix"; do
  if has ${section#*:}; then
    sections="$sections|${section%%:*}"
  fi
done
# FetchContent (CMake 3.24), from a clone of this tree tagged as the page pins it.
echo 'cmake_minimum_required(VERSION 3.24)' >"$tmp/fetches.cmake"
if ! cmake -P "$tmp/fetches.cmake" 2>/dev/null; then
  echo "CMake before 3.24 here: FetchContent's part of the page skipped"
elif ! [ -e "$source/.git" ]; then
  echo "not a git checkout: FetchContent's part of the page skipped"
elif has git; then
  git clone -q "$source" "$tmp/secs.git"
  tag=$(page FetchContent | sed -n 's/.* GIT_TAG \([^ ]*\).*/\1/p')
  git -C "$tmp/secs.git" tag -f "$tag" >/dev/null
  sections="$sections|FetchContent"
fi
page "$sections" >"$tmp/page.md.sh"
sed "s|https://example.org/secs.git|file://$tmp/secs.git|" "$tmp/page.md.sh" >"$tmp/page.sh"
# As a user runs it, not with a packager's flags, which are this system's and not a cross build's.
cd "$project"
if ! (unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS && HOME=$project/home sh "$tmp/page.sh") \
  >"$tmp/page.log" 2>&1; then
  cat "$tmp/page.log"
  die "the stopwatch's page failed"
fi
echo "the stopwatch's page ran: $sections"

# A parent keeps its build type and its install.
grep -x 'CMAKE_BUILD_TYPE:STRING=' build-sub/CMakeCache.txt >/dev/null ||
  die "add_subdirectory set the parent's build type"
[ ! -e build-sub/veldmark-core/secs ] || die "add_subdirectory built secs"
cmake --install build-sub --prefix "$tmp/nothing" >/dev/null
[ ! -e "$tmp/nothing" ] || die "add_subdirectory installed $(find "$tmp/nothing")"
# The library installed as the page says brings the timer to a program that uses it.
mkdir use
cat >use/CMakeLists.txt <<'EOF'
cmake_minimum_required(VERSION 3.20)
project(use CXX)
find_package(stopwatches CONFIG REQUIRED)
add_executable(use ../main.cpp)
target_link_libraries(use PRIVATE stopwatches::stopwatches)
EOF
cmake -S use -B use/build -DCMAKE_PREFIX_PATH="$project/home/stopwatches" >/dev/null
cmake --build use/build >/dev/null
# FetchContent fetched the tag or, as the page says it may, took a copy this
# machine had installed; given the page's own install first, it takes that.
if [ -d build-fetch ]; then
  sed -n '/NOTFOUND/!s/^secs_DIR:PATH=/FetchContent took the copy in /p' build-fetch/CMakeCache.txt
  cmake -S . -B build-found -DCMAKE_PREFIX_PATH="$project/home/.local" >/dev/null
  grep -Fx "secs_DIR:PATH=$project/home/.local/share/cmake/VeldmarkCore" \
    build-found/CMakeCache.txt >/dev/null || die "FetchContent did not take the installed copy"
fi
