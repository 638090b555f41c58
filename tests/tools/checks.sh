# What the command-line test scripts share, sourced by each: a work folder removed at the end,
# check and status, and the summary that sets the script's exit status.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0

check() {  # name expected actual
    if [ "$2" == "$3" ]; then
        passes=$((passes + 1))
    else
        echo "FAIL $1: expected '$2', got '$3'"
        failures=$((failures + 1))
    fi
}

# The exit status of a command run without input or output.
status() { "$@" </dev/null >/dev/null 2>&1; echo $?; }

finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
