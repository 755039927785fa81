# SPDX-License-Identifier: MIT
# Does zsh, with DIR (if given) in its fpath, complete "secs slee" to sleep?
# Types it into an interactive zsh on a pseudo-terminal and watches for up
# to 10 s. Usage: zsh -f complete.zsh [DIR]
zmodload zsh/zpty
zpty comp zsh -f -i
(( $# )) && zpty -w comp "fpath=(${(q)1} \$fpath)"
zpty -w comp "autoload -Uz compinit; compinit -u -D"
zpty -w -n comp $'secs slee\t'
out=
for i in {1..100}; do
  zpty -r -t comp chunk && out+=$chunk
  [[ $out == *sleep* ]] && break
  sleep 0.1
done
zpty -d comp
[[ $out == *sleep* ]]
