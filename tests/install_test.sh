#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Install into an empty prefix, then use what landed there as a user would:
# the tool, the stopwatch through find_package and through pkg-config, the
# man page and the completion. Usage: install_test.sh BUILD-DIR CXX
set -euo pipefail
build=$1 cxx=$2 consumer=$(dirname "$0")/consumer
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
"$prefix/bin/secs" true | grep -qx '[01]'

cmake -S "$consumer" -B "$tmp/cmake" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$tmp/cmake" >/dev/null
"$tmp/cmake/consumer" | grep -qx '[01] s'

cflags=$(PKG_CONFIG_PATH=$prefix/share/pkgconfig pkg-config --cflags veldmark-core)
"$cxx" -std=c++98 -Wall -Wextra -pedantic -Werror $cflags "$consumer/main.cpp" -o "$tmp/pkg-config"
"$tmp/pkg-config" | grep -qx '[01] s'

warnings=$(groff -man -Tutf8 -ww -z "$prefix/share/man/man1/secs.1" 2>&1)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }

# Without bash-completion the first word still completes to command names.
bash --norc -c 'source "$1"; COMP_WORDS=(secs slee); COMP_CWORD=1; _secs; printf "%s\n" "${COMPREPLY[@]}"' \
  _ "$prefix/share/bash-completion/completions/secs" | grep -qx sleep
echo "installed tree works"
