# SPDX-License-Identifier: MIT
# doc/stopwatch.md as a script: its opening and the sections matching `want`.
# A block captioned `FILE`: is written to FILE; each sh line must succeed
# (set -e would not stop inside &&).
/^## / { off = $0 !~ want }
off || /^## / { next }
/^`[^`]+`:$/ {
    file = substr($0, 2, length($0) - 3)
    next
}
/^```./ {
    block = substr($0, 4)
    if (file != "")
        print "mkdir -p \"$(dirname " file ")\" && cat >" file " <<'PAGE'"
    next
}
/^```$/ {
    if (file != "")
        print "PAGE"
    block = file = ""
    next
}
file != "" { print }
block == "sh" { print $0 " || exit 1" }
