#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs into an empty prefix and uses what landed there as a user would;
# then runs doc/stopwatch.md as written (each `FILE`: block written, each sh
# block run) in a project of its own with these sources as secs/, each
# section this system can. POSIX sh. Usage: install_test.sh BUILD-DIR (a
# cross build sets SECS_TOOLCHAIN, SECS_TRIPLE and SECS_RUN, its emulator).
set -eu
build=$1 source=$(cd "${0%/*}/.." && pwd)
run=${SECS_RUN-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
$run "$prefix/bin/secs" true | grep -x '[01]' >/dev/null
[ "$(cd "$prefix/share/doc/secs" && echo *)" = "CHANGELOG.md LICENSE README.md" ]
# Without bash-completion the first word completes to a command name, in
# bash 4 and later and, standing in for macOS's 3.2, a bash without the
# builtins 4 added. (grep reads it all: stopping at a match would kill the writer.)
if bash -c : 2>/dev/null; then
  for bash3 in "" "enable -n mapfile readarray compopt;"; do
    bash --norc -c "$bash3"' source "$1"; COMP_WORDS=(secs slee); COMP_CWORD=1; _secs; printf "%s\n" "${COMPREPLY[@]}"' \
      _ "$prefix/share/bash-completion/completions/secs" | grep -x sleep >/dev/null
  done
fi
# The CMake package has one component; the .pc file names the include
# directory a packager staged it for (normalised, so that pkg-config drops
# /usr/include), or an absolute one as given.
printf 'cmake_minimum_required(VERSION 3.20)\nproject(p NONE)\nfind_package(VeldmarkCore 1 REQUIRED COMPONENTS bogus)\n' >"$tmp/CMakeLists.txt"
! cmake -S "$tmp" -B "$tmp/bogus" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null 2>&1
DESTDIR=$tmp/stage cmake --install "$build" --component dev --prefix /usr >/dev/null
grep -x 'includedir=${prefix}/include' "$tmp/stage/usr/share/pkgconfig/veldmark-core.pc" >/dev/null
cmake -S "$source" -B "$tmp/absolute" -DSECS_TOOL=OFF -DCMAKE_INSTALL_INCLUDEDIR="$tmp/headers" >/dev/null
cmake --install "$tmp/absolute" --prefix "$tmp/elsewhere" >/dev/null
grep -x "includedir=$tmp/headers" "$tmp/elsewhere/share/pkgconfig/veldmark-core.pc" >/dev/null

if [ -n "${SECS_TOOLCHAIN-}" ]; then
  echo "a cross build: the stopwatch's page is not run"
  exit 0
fi
project=$tmp/project
mkdir -p "$project/home"
ln -s "$source" "$project/secs"
# page PATTERN: the page's opening and the sections whose heading matches,
# as a script that stops where a command fails (set -e would not, inside &&).
page() {
  awk -v want="$1" '
    /^## / { started = 1; on = $0 ~ want; next }
    started && !on { next }
    !inside && /^`[^`]+`:$/ { file = substr($0, 2, length($0) - 3); next }
    !inside && /^```/ { inside = 1; sh = $0 == "```sh"
      if (file != "") print "mkdir -p \"$(dirname " file ")\" && cat >" file " <<'\''PAGE'\''"; next }
    inside && /^```$/ { inside = 0; if (file != "") print "PAGE"; file = ""; next }
    inside && file != "" { print; next }
    inside && sh { print $0 " || exit 1"; next }
    !inside && NF { file = "" }' "$source/doc/stopwatch.md"
}
has() { # has TOOL...: are they all here? If not, the section is skipped, and said.
  for tool; do command -v "$tool" >/dev/null || { echo "no $tool here: its part of the stopwatch's page skipped"; return 1; }; done
}
sections="by CMake|add_subdirectory|without CMake|library"
! has pkg-config c++ || sections="$sections|by pkg-config"
! has pkg-config meson ninja || sections="$sections|by Meson"
! has x86_64-w64-mingw32-g++-posix || sections="$sections|for Windows"
# FetchContent, from a clone of this tree tagged as the page pins it.
if has git && [ -e "$source/.git" ] && [ "$(cmake --version | sed -n '1s/[^0-9]*\([0-9]*\)\.\([0-9]*\).*/\1\2/p')" -ge 324 ]; then
  git clone -q "$source" "$tmp/secs.git"
  git -C "$tmp/secs.git" tag -f "$(page FetchContent | sed -n 's/.* GIT_TAG \([^ ]*\).*/\1/p')" >/dev/null
  sections="$sections|FetchContent"
fi
page "$sections" | sed "s|https://example.org/secs.git|file://$tmp/secs.git|" >"$tmp/page.sh"
# As a user runs it, not with a packager's flags, which are this system's and not a cross build's.
(cd "$project" && unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS && HOME=$project/home sh "$tmp/page.sh") >"$tmp/page.log" 2>&1 ||
  { cat "$tmp/page.log"; exit 1; }
echo "the stopwatch's page ran: $sections"
cd "$project"
# A parent keeps its build type and its install, and may have a program secs of its own.
grep -x 'CMAKE_BUILD_TYPE:STRING=' build-sub/CMakeCache.txt >/dev/null && [ ! -e build-sub/veldmark-core/secs ]
cmake --install build-sub --prefix "$tmp/nothing" >/dev/null && [ ! -e "$tmp/nothing" ]
mkdir own && printf 'cmake_minimum_required(VERSION 3.20)\nproject(own CXX)\nadd_subdirectory(../secs veldmark-core)
add_executable(secs ../main.cpp)\ntarget_link_libraries(secs PRIVATE Veldmark::core)\n' >own/CMakeLists.txt
cmake -S own -B own/build >/dev/null && cmake --build own/build >/dev/null && own/build/secs | grep -x '[01] s' >/dev/null
# The library's installed header, which includes the timer, compiles downstream.
mkdir use
printf '#include <stopwatches.h>\nint main() { Stopwatch s; s.Run(); return 0; }\n' >use/use.cpp
printf 'cmake_minimum_required(VERSION 3.20)\nproject(use CXX)\nfind_package(stopwatches CONFIG REQUIRED)
add_executable(use use.cpp)\ntarget_link_libraries(use PRIVATE stopwatches::stopwatches)\n' >use/CMakeLists.txt
cmake -S use -B use/build -DCMAKE_PREFIX_PATH="$project/home/stopwatches" >/dev/null && cmake --build use/build >/dev/null
# Linked as the page says for a timer used only in a library's own sources,
# it exports without the stopwatch.
private=$(sed -n 's/.*link `\(PRIVATE $<BUILD_INTERFACE:Veldmark::core>\)`.*/\1/p' "$source/doc/stopwatch.md")
sed -e '/SECS_INSTALL/d' -e "s/INTERFACE Veldmark::core/$private/" -e 's/INTERFACE)$/STATIC private.cpp)/' \
  lib/CMakeLists.txt >lib/private.txt && mv lib/private.txt lib/CMakeLists.txt
printf '#include "stopwatches.h"\nlong Seconds() { return Stopwatch().GetInsecondsinterval(); }\n' >lib/private.cpp
cmake -S lib -B lib/private >/dev/null && cmake --build lib/private >/dev/null
cmake --install lib/private --prefix "$tmp/private" >/dev/null && [ ! -e "$tmp/private/include/veldmark" ]
# Meson's CMake route, as the page words it.
if case $sections in *Meson*) ;; *) false ;; esac; then
  route=$(sed -n "s/.*\`\(dependency('VeldmarkCore'[^\`]*\)\`.*/\1/p" "$source/doc/stopwatch.md")
  sed "s/dependency('veldmark-core')/$route/" meson.build >meson.txt && mv meson.txt meson.build
  meson setup build-cmake-route -Dcmake_prefix_path="$project/home/.local" >/dev/null
  meson compile -C build-cmake-route >/dev/null && build-cmake-route/app | grep -x '[01] s' >/dev/null
fi
# FetchContent fetched, as nothing installed was where it looked; it takes an
# installed copy of the same major version, and no other.
if [ -d build-fetch ]; then
  [ -d build-fetch/_deps/secs-src ]
  cmake -B found -DCMAKE_PREFIX_PATH="$project/home/.local" >/dev/null && [ ! -d found/_deps/secs-src ]
  mkdir v2 && cp -R "$source/CMakeLists.txt" "$source/cmake" "$source/include" "$source/libssrc" "$source/LICENSE" v2/
  sed -i.bak 's/VERSION_MAJOR 1$/VERSION_MAJOR 2/' v2/libssrc/core/1/seconds_timer.h
  cmake -S v2 -B v2/build -DSECS_TOOL=OFF >/dev/null && cmake --install v2/build --prefix "$tmp/v2" >/dev/null
  cmake -B other -DCMAKE_PREFIX_PATH="$tmp/v2" >/dev/null && [ -d other/_deps/secs-src ]
fi
