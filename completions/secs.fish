# SPDX-License-Identifier: MIT
# fish completion for secs: a command name, then that command's own arguments.
complete --command secs --exclusive --arguments '(__fish_complete_subcommand)'
