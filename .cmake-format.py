# SPDX-License-Identifier: MIT
with section("format"):
    line_width = 100
    max_subgroups_hwrap = 4
    max_pargs_hwrap = 8
with section("markup"):
    enable_markup = False
