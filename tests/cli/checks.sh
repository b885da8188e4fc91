# The checks the end-to-end scripts share, sourced by each after `set -e`:
#   . "$(dirname "$0")/checks.sh"
# A check that must not hold is written with one of these, never as `! cmd`: `set -e` ignores a
# command prefixed with `!`, so such a line could never fail its test.

# fail MESSAGE...: ends the test with status 1, naming the script.
fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

# refute CMD ARG...: fails the test when the command succeeds.
refute() {
    if "$@"; then fail "succeeded, and should not have: $*"; fi
}

# exits_with STATUS CMD ARG...: fails the test unless the command ends with that status.
exits_with() {
    want=$1
    shift
    got=0
    "$@" || got=$?
    [ "$got" -eq "$want" ] || fail "ended with status $got instead of $want: $*"
}

# shot_lacks CHECKER IMAGE CHECK...: the screenshot checker reads the image and finds it fails the
# checks (status 1); an image it cannot read (status 2) fails the test.
shot_lacks() {
    exits_with 1 "$@" > /dev/null
}

# no_errors LOG: the standard error of a run with --verbose holds no message of the game's. Each
# diagnostic (PrintError) is echoed as one line "zendrolyx: ..."; the one line a normal run prints
# is its end ("zendrolyx: ended after N frames").
no_errors() {
    if grep '^zendrolyx: ' "$1" | grep -v '^zendrolyx: ended after [0-9]* frames$' > "$1.errors"; then
        cat "$1.errors" >&2
        fail "$1 holds error messages (above)"
    fi
}

# each_line_passes FILE PATTERN AWK-ARGUMENT...: the file has a line that matches the pattern, and
# awk's program (which exits non-zero on a bad line) passes every such line.
each_line_passes() {
    file=$1
    pattern=$2
    shift 2
    grep -q "$pattern" "$file" || fail "$file has no line matching $pattern"
    grep "$pattern" "$file" | awk "$@" || fail "a line of $file matching $pattern is wrong"
}

# remake_list MKROM DIR: after a test damaged its copy of the game data on purpose, lists the copy's
# files again (mkrom --list), so that start-up's check of the whole set passes and the run tests
# what the loaders make of the damage.
remake_list() {
    "$1" --list "$2" || fail "mkrom could not list $2"
}
