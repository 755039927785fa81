#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs .deb files as the README says, then uses them with each program's
# own defaults: man shows the page, and bash (with bash-completion), zsh and
# fish complete "secs slee" to sleep; then removes them, and nothing of them
# may be left. Usage (as root, on Debian): try-debs.sh ./DEB...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
packages=$(for deb; do dpkg-deb --field "$deb" Package; done)
trap 'dpkg --purge $packages >/dev/null 2>&1 || true' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -qq -y "$@" >/dev/null && files=$(dpkg --listfiles $packages | sort -u)
man -P cat secs 2>/dev/null | grep -q 'run a shell command and print the whole seconds it took'
bash --norc -c '. /usr/share/bash-completion/bash_completion; __load_completion secs
  COMP_WORDS=(secs slee) COMP_CWORD=1 COMP_LINE="secs slee" COMP_POINT=9
  $(complete -p secs | sed "s/.* -F \([^ ]*\) .*/\1/") secs slee secs; printf "%s\n" "${COMPREPLY[@]}"' 2>/dev/null |
  grep -qx sleep || { echo "bash does not complete secs slee" >&2; exit 1; }
zsh -f "$here/complete.zsh" || { echo "zsh does not complete secs slee" >&2; exit 1; }
HOME=$(mktemp -d) fish -c "complete -C 'secs slee'" | grep -q '^sleep' || { echo "fish does not complete secs slee" >&2; exit 1; }
dpkg --purge $packages >/dev/null
for path in $files; do [ ! -f "$path" ] || { echo "$path is left after removing $packages" >&2; exit 1; }; done
echo "installed, used and removed:" $packages
