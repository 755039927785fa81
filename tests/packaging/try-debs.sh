#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs .deb files as a user would, then uses them with each program's own
# defaults: man shows the page, and "secs slee" completes to sleep in bash
# (with bash-completion), zsh and fish, each looking where it looks by
# itself; then removes them, and nothing of them may be left.
# Usage (as root, on Debian): try-debs.sh DEB...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
packages=$(for deb; do dpkg-deb --field "$deb" Package; done)
tmp=$(mktemp -d)
trap 'dpkg --purge $packages >/dev/null 2>&1 || true; rm -rf "$tmp"' EXIT
dpkg --install "$@" >/dev/null
dpkg --listfiles $packages | sort -u >"$tmp/files"

man -P cat secs 2>/dev/null | grep 'run a shell command and print the whole seconds it took' >/dev/null
bash --norc -c '. /usr/share/bash-completion/bash_completion; __load_completion secs
  COMP_WORDS=(secs slee) COMP_CWORD=1 COMP_LINE="secs slee" COMP_POINT=9
  $(complete -p secs | sed "s/.* -F \([^ ]*\) .*/\1/") secs slee secs; printf "%s\n" "${COMPREPLY[@]}"' 2>/dev/null |
  grep -x sleep >/dev/null || { echo "bash does not complete secs slee" >&2; exit 1; }
zsh -f "$here/complete.zsh" || { echo "zsh does not complete secs slee" >&2; exit 1; }
HOME=$tmp XDG_CONFIG_HOME=$tmp fish -c "complete -C 'secs slee'" | grep '^sleep' >/dev/null ||
  { echo "fish does not complete secs slee" >&2; exit 1; }

dpkg --purge $packages >/dev/null
while read -r path; do
  if [ -f "$path" ] || [ -L "$path" ]; then
    echo "$path is left after removing $packages" >&2
    exit 1
  fi
done <"$tmp/files"
echo "installed, used and removed:" $packages
