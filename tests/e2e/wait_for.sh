# Sourced by the end-to-end scripts. wait_for SECONDS COMMAND...: runs the command until it
# succeeds, at most that long.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
