#!/bin/sh
# SPDX-License-Identifier: MIT
# Install into an empty prefix, then use what landed there as a user would:
# the tool, the stopwatch through find_package, pkg-config and Meson (the
# README's snippets, as written), the man page and the completions; and the
# stopwatch copied, taken in by add_subdirectory, and fetched by FetchContent.
# POSIX sh, as it runs wherever the tests do (a Mac's bash is 3.2, a BSD's
# none at all).
# Usage: install_test.sh BUILD-DIR CXX; for a cross build, SECS_TOOLCHAIN
# names the toolchain file and SECS_RUN the emulator that runs what it builds.
set -eu
build=$1 cxx=$2 source=$(cd "${0%/*}/.." && pwd)
run=${SECS_RUN-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
snippet() { # snippet LANGUAGE: the README's code block in it, under "Using the stopwatch"
  sed -n '/^## Using the stopwatch/,/^## /p' "$source/README.md" | sed -n "/^\`\`\`$1\$/,/^\`\`\`\$/p" | sed '1d;$d'
}
consumer=$tmp/consumer
cp -R "$source/tests/consumer" "$consumer"
snippet cpp >"$consumer/main.cpp"
prefix=$tmp/prefix
expect() { # expect WHAT GOT WANTED
  [ "$2" = "$3" ] || { echo "$1: got '$2', wanted '$3'" >&2; exit 1; }
}
configure() { # cmake, configuring with the compiler (and toolchain) under test
  cmake "$@" -DCMAKE_CXX_COMPILER="$cxx" ${SECS_TOOLCHAIN:+"-DCMAKE_TOOLCHAIN_FILE=$SECS_TOOLCHAIN"} \
    ${SECS_TRIPLE:+"-DSECS_TRIPLE=$SECS_TRIPLE"} >/dev/null
}
counts() { # counts PROGRAM...: it prints "0 s" or "1 s"
  $run "$@" | grep -x '[01] s' >/dev/null
}

cmake --install "$build" --prefix "$prefix" >/dev/null
$run "$prefix/bin/secs" true | grep -x '[01]' >/dev/null

# (A cross build finds packages only under its root paths, so the prefix is one.)
configure -S "$consumer" -B "$tmp/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
  ${SECS_TOOLCHAIN:+"-DCMAKE_FIND_ROOT_PATH=$prefix"}
cmake --build "$tmp/cmake" >/dev/null
counts "$tmp/cmake/consumer"
# (Built against the version the package gives, and counting a second.)
$run "$tmp/cmake/counts" | grep -x '0 [12]' >/dev/null
# A component it does not have is not found.
mkdir "$tmp/bogus"
printf 'cmake_minimum_required(VERSION 3.20)\nproject(bogus NONE)\nfind_package(VeldmarkCore 1 REQUIRED COMPONENTS bogus)\n' \
  >"$tmp/bogus/CMakeLists.txt"
if cmake -S "$tmp/bogus" -B "$tmp/bogus/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null 2>&1; then
  echo "find_package(VeldmarkCore COMPONENTS bogus) succeeded" >&2
  exit 1
fi

# pkg-config: its flags build the example, from the prefix and from an
# absolute include directory; staged for /usr, it names /usr/include, where
# the header is. What a pkgconf leaves out as a system directory is its own
# business (a Mac's keeps -I/usr/include), so no flag is asked for by name.
# (Skipped, and said, where pkg-config is not installed.)
if command -v pkg-config >/dev/null; then
  pc() { # pc PREFIX OPTION...: pkg-config on the veldmark-core.pc under PREFIX
    dir=$1
    shift
    PKG_CONFIG_PATH=$dir/share/pkgconfig pkg-config "$@" veldmark-core
  }
  builds() { # builds PREFIX: the example, with pkg-config's flags, as C++98
    cflags=$(pc "$1" --cflags)
    "$cxx" -std=c++98 -Wall -Wextra -pedantic -Werror $cflags "$consumer/main.cpp" -o "$tmp/pkg-config"
    counts "$tmp/pkg-config"
  }
  builds "$prefix"
  found=$(pc "$prefix" --modversion | sed 's/^\([0-9]*\)\.\([0-9]*\)\.\([0-9]*\)$/\1 * 10000 + \2 * 100 + \3/')
  "$cxx" -std=c++98 -Werror $cflags -DFOUND_VERSION="($found)" -c "$consumer/counts.cpp" -o "$tmp/counts.o"
  DESTDIR=$tmp/stage cmake --install "$build" --component dev --prefix /usr >/dev/null
  expect "includedir under /usr" "$(pc "$tmp/stage/usr" --variable=includedir)" /usr/include
  [ -f "$tmp/stage/usr/include/veldmark/core/1/seconds_timer.h" ]
  configure -S "$source" -B "$tmp/absolute" -DBUILD_TESTING=OFF -DCMAKE_INSTALL_INCLUDEDIR="$tmp/headers"
  cmake --install "$tmp/absolute" --component dev --prefix "$tmp/elsewhere" >/dev/null
  expect "includedir, absolute" "$(pc "$tmp/elsewhere" --variable=includedir)" "$tmp/headers"
  builds "$tmp/elsewhere"
else
  echo "no pkg-config here: its checks skipped"
fi

# Meson, by the README's meson.build (its default method, pkg-config), with
# the compiler Meson finds itself: the check is of the .pc file, and Meson
# knows fewer compilers than CMake (not zig's). Not for a cross build,
# which would want a cross file.
if [ -z "${SECS_TOOLCHAIN-}" ] && command -v meson >/dev/null && command -v ninja >/dev/null; then
  mkdir "$tmp/meson"
  snippet meson >"$tmp/meson/meson.build"
  cp "$consumer/main.cpp" "$tmp/meson/"
  PKG_CONFIG_PATH=$prefix/share/pkgconfig meson setup "$tmp/meson/build" "$tmp/meson" >"$tmp/meson.log" ||
    { cat "$tmp/meson.log"; exit 1; }
  ninja -C "$tmp/meson/build" >/dev/null
  counts "$tmp/meson/build/app"
else
  echo "no meson and ninja here, or a cross build: the Meson check skipped"
fi

# Copied, or a git submodule: the README's include line, from libssrc.
sed 's|<veldmark/core/1/seconds_timer.h>|<core/1/seconds_timer.h>|' "$consumer/main.cpp" >"$tmp/copied.cpp"
"$cxx" -std=c++98 -Wall -Wextra -pedantic -Werror -I "$source/libssrc" "$tmp/copied.cpp" -o "$tmp/copied"
counts "$tmp/copied"

# Taken in by add_subdirectory: the stopwatch builds, and secs forces nothing
# on the parent: no build type, no tool in its build, nothing in its install.
configure -S "$consumer" -B "$tmp/sub" -DSECS_SOURCE_DIR="$source"
cmake --build "$tmp/sub" >/dev/null
counts "$tmp/sub/consumer"
grep -qx 'CMAKE_BUILD_TYPE:STRING=' "$tmp/sub/CMakeCache.txt"
[ ! -e "$tmp/sub/secs/secs" ]
cmake --install "$tmp/sub" --prefix "$tmp/sub-prefix" >/dev/null
[ ! -e "$tmp/sub-prefix" ]
# Asked for the tool and its install, it installs the docs too.
cmake "$tmp/sub" -DSECS_TOOL=ON -DSECS_INSTALL=ON >/dev/null
cmake --build "$tmp/sub" >/dev/null
cmake --install "$tmp/sub" --prefix "$tmp/sub-prefix" >/dev/null
# Fetched by the README's FetchContent lines, from a clone of this tree
# that has the tag they pin; and found installed instead, where it is.
# (CMake 3.24 and git, in a git checkout; not for a cross build, as what
# FetchContent does is the same on any CPU.)
cmake_at=$(cmake --version | sed -n '1s/[^0-9]*\([0-9]*\)\.\([0-9]*\).*/\1 * 100 + \2/p')
if [ -z "${SECS_TOOLCHAIN-}" ] && [ "$((${cmake_at:-0}))" -ge 324 ] && [ -e "$source/.git" ] && command -v git >/dev/null; then
  git clone -q "$source" "$tmp/secs.git"
  git -C "$tmp/secs.git" tag -f "$(snippet cmake | sed -n 's/.* GIT_TAG \([^ ]*\).*/\1/p')" >/dev/null
  mkdir "$tmp/fetch"
  cp "$consumer/main.cpp" "$tmp/fetch/"
  { printf 'cmake_minimum_required(VERSION 3.24)\nproject(app CXX)\nadd_executable(app main.cpp)\n'
    snippet cmake | sed "s|GIT_REPOSITORY [^ ]*|GIT_REPOSITORY file://$tmp/secs.git|"
  } >"$tmp/fetch/CMakeLists.txt"
  configure -S "$tmp/fetch" -B "$tmp/fetched" -DFETCHCONTENT_TRY_FIND_PACKAGE_MODE=NEVER
  cmake --build "$tmp/fetched" >/dev/null
  counts "$tmp/fetched/app"
  [ -d "$tmp/fetched/_deps/secs-src" ]
  configure -S "$tmp/fetch" -B "$tmp/found" -DCMAKE_PREFIX_PATH="$prefix"
  cmake --build "$tmp/found" >/dev/null
  counts "$tmp/found/app"
  [ ! -d "$tmp/found/_deps/secs-src" ]
else
  echo "no CMake 3.24, no git, no git checkout, or a cross build: the FetchContent check skipped"
fi

# The docs of any install are LICENSE and README; the Debian-format ones
# (copyright, changelog) are our packages' alone.
for docs in "$prefix" "$tmp/sub-prefix"; do
  expect "docs installed" "$(cd "$docs/share/doc/secs" && echo *)" "CHANGELOG.md LICENSE README.md"
done

# Where bash runs: without bash-completion the first word still completes to
# command names, in bash 4 and later and, standing in for macOS's 3.2, in a
# bash without the builtins 4 added. (grep reads them all: stopping at the
# first match would kill the writer.)
if bash -c : 2>/dev/null; then
  for bash3 in "" "enable -n mapfile readarray compopt;"; do
    bash --norc -c "$bash3"' source "$1"; COMP_WORDS=(secs slee); COMP_CWORD=1; _secs; printf "%s\n" "${COMPREPLY[@]}"' \
      _ "$prefix/share/bash-completion/completions/secs" | grep -x sleep >/dev/null ||
      { echo "bash${bash3:+ without mapfile} does not complete secs slee" >&2; exit 1; }
  done
else
  echo "no bash here: its completion check skipped"
fi
# zsh and fish, where installed, take the completions from where they landed
# (fish only for a command it can find).
if command -v zsh >/dev/null; then
  zsh_dir=$(sed -n 's/^SECS_ZSH_COMPLETION_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
  case $zsh_dir in /*) ;; *) zsh_dir=$prefix/$zsh_dir ;; esac
  zsh -f "${0%/*}/packaging/complete.zsh" "$zsh_dir"
else
  echo "no zsh here: its completion check skipped"
fi
if command -v fish >/dev/null; then
  PATH=$prefix/bin:$PATH fish --no-config -c "set -p fish_complete_path '$prefix/share/fish/vendor_completions.d'
    complete -C 'secs slee'" | grep '^sleep' >/dev/null
else
  echo "no fish here: its completion check skipped"
fi
echo "installed tree works"
