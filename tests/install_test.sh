#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Install into an empty prefix, then use what landed there as a user would:
# the tool, the stopwatch through find_package and through pkg-config (the
# README's example, as written), the man page and the completions; and the
# stopwatch from a project that takes this tree in by add_subdirectory.
# Usage: install_test.sh BUILD-DIR CXX; for a cross build, SECS_TOOLCHAIN
# names the toolchain file and SECS_RUN the emulator that runs what it builds.
set -euo pipefail
build=$1 cxx=$2 source=$(cd "$(dirname "$0")/.." && pwd)
run=${SECS_RUN-}
configure=(-DCMAKE_CXX_COMPILER="$cxx" ${SECS_TOOLCHAIN:+"-DCMAKE_TOOLCHAIN_FILE=$SECS_TOOLCHAIN"})
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
consumer=$tmp/consumer
cp -R "$source/tests/consumer" "$consumer"
sed -n '/^## Using the stopwatch/,/^## /p' "$source/README.md" | sed -n '/^```cpp$/,/^```$/p' | sed '1d;$d' >"$consumer/main.cpp"
prefix=$tmp/prefix
expect() { # expect WHAT GOT WANTED
  [ "$2" = "$3" ] || { echo "$1: got '$2', wanted '$3'" >&2; exit 1; }
}

cmake --install "$build" --prefix "$prefix" >/dev/null
$run "$prefix/bin/secs" true | grep -x '[01]' >/dev/null

# (A cross build finds packages only under its root paths, so the prefix is one.)
cmake -S "$consumer" -B "$tmp/cmake" "${configure[@]}" -DCMAKE_PREFIX_PATH="$prefix" \
  ${SECS_TOOLCHAIN:+"-DCMAKE_FIND_ROOT_PATH=$prefix"} >/dev/null
cmake --build "$tmp/cmake" >/dev/null
$run "$tmp/cmake/consumer" | grep -x '[01] s' >/dev/null

# pkg-config: a normalised include path, none at all for /usr/include, and an
# absolute include directory as given.
# (Skipped, and said, where pkg-config is not installed.)
if command -v pkg-config >/dev/null; then
  # pc PREFIX: the flags, blanks squeezed; fails, as pkg-config does, where
  # PREFIX has no veldmark-core.pc (callers assign, so that set -e sees it).
  pc() {
    local flags
    flags=$(PKG_CONFIG_PATH=$1/share/pkgconfig pkg-config --cflags veldmark-core) || return
    read -ra flags <<<"$flags"
    echo "${flags[*]}"
  }
  cflags=$(pc "$prefix")
  expect "pkg-config --cflags" "$cflags" "-I$prefix/include"
  "$cxx" -std=c++98 -Wall -Wextra -pedantic -Werror $cflags "$consumer/main.cpp" -o "$tmp/pkg-config"
  $run "$tmp/pkg-config" | grep -x '[01] s' >/dev/null
  DESTDIR=$tmp/stage cmake --install "$build" --component dev --prefix /usr >/dev/null
  cflags=$(pc "$tmp/stage/usr")
  expect "pkg-config --cflags under /usr" "$cflags" ""
  cmake -S "$source" -B "$tmp/absolute" "${configure[@]}" -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_INCLUDEDIR="$tmp/headers" >/dev/null
  cmake --install "$tmp/absolute" --component dev --prefix "$tmp/elsewhere" >/dev/null
  cflags=$(pc "$tmp/elsewhere")
  expect "pkg-config --cflags, absolute includedir" "$cflags" "-I$tmp/headers"
  [ -f "$tmp/headers/veldmark/core/1/seconds_timer.h" ]
else
  echo "no pkg-config here: its checks skipped"
fi

# Taken in by add_subdirectory: the stopwatch builds, and secs forces nothing
# on the parent: no build type, no tool in its build, nothing in its install.
cmake -S "$consumer" -B "$tmp/sub" "${configure[@]}" -DSECS_SOURCE_DIR="$source" >/dev/null
cmake --build "$tmp/sub" >/dev/null
$run "$tmp/sub/consumer" | grep -x '[01] s' >/dev/null
grep -qx 'CMAKE_BUILD_TYPE:STRING=' "$tmp/sub/CMakeCache.txt"
[ ! -e "$tmp/sub/secs/secs" ]
cmake --install "$tmp/sub" --prefix "$tmp/sub-prefix" >/dev/null
[ ! -e "$tmp/sub-prefix" ]
# Asked to install, it installs the docs too; our own options are not its.
cmake "$tmp/sub" -DSECS_INSTALL=ON -DSECS_LINK=bogus 2>&1 | grep 'secs: SECS_LINK shapes' >/dev/null
cmake --build "$tmp/sub" >/dev/null
cmake --install "$tmp/sub" --prefix "$tmp/sub-prefix" >/dev/null
[ -f "$tmp/sub-prefix/share/doc/secs/LICENSE" ]
# The Debian-format docs are our packages' alone, not any install's.
distro_docs=$(find "$prefix" "$tmp/sub-prefix" -name copyright -o -name 'changelog*')
expect "Debian docs installed" "$distro_docs" ""

if command -v groff >/dev/null; then
  warnings=$(groff -man -Tutf8 -ww -z "$prefix/share/man/man1/secs.1" 2>&1)
  [ -z "$warnings" ] || { echo "$warnings"; exit 1; }
else
  echo "no groff here: the man page check skipped"
fi

# Without bash-completion the first word still completes to command names,
# in bash 4 and later and, standing in for macOS's 3.2, in a bash without
# the builtins 4 added. (grep reads them all: stopping at the first match
# would kill the writer.)
for bash3 in "" "enable -n mapfile readarray compopt;"; do
  bash --norc -c "$bash3"' source "$1"; COMP_WORDS=(secs slee); COMP_CWORD=1; _secs; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$prefix/share/bash-completion/completions/secs" | grep -x sleep >/dev/null ||
    { echo "bash${bash3:+ without mapfile} does not complete secs slee" >&2; exit 1; }
done
# zsh and fish, where installed, take the completions from where they landed
# (fish only for a command it can find).
if command -v zsh >/dev/null; then
  zsh_dir=$(sed -n 's/^SECS_ZSH_COMPLETION_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
  case $zsh_dir in /*) ;; *) zsh_dir=$prefix/$zsh_dir ;; esac
  zsh -f "$(dirname "$0")/packaging/complete.zsh" "$zsh_dir"
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
