# Sourced by the scripts that make temporary things. `lsu_on_exit COMMAND`
# runs COMMAND when the calling script exits, and keeps whatever EXIT trap the
# script already had: the new command is chained in front of it, so cleanups
# run in the reverse order of their registration and none replaces another.
# Bash runs the EXIT trap also when INT (Ctrl+C) or TERM ends the script, so
# no trap of those signals is set: one would only hold the cleanup back until
# the command running in the foreground had finished.
lsu_on_exit() {
  local command=$1 previous
  # `trap -p EXIT` prints `trap -- 'COMMANDS' EXIT`, quoted for the shell.
  eval "set -- $(trap -p EXIT)"
  previous=${3:-}
  trap -- "$command${previous:+; $previous}" EXIT
}
