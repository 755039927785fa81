# SPDX-License-Identifier: MIT
# doc/stopwatch.md as a script: its opening and the sections whose heading
# matches `want`. A block captioned `FILE`: is written to FILE; each line of
# an sh block runs, and the script stops where one fails (set -e would not
# stop it inside &&).
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
