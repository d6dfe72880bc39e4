# Sourced by the whole-process benchmarks: a work folder and an X server of their own, both gone
# when the script ends, with the program (started later into game_pid) killed first. The caller
# defines die() first and calls Start_xvfb NAME [WIDTHxHEIGHT] (1600x1000 unless given); DISPLAY and
# work are set afterwards.

Start_xvfb() {
    command -v Xvfb >/dev/null || die "Xvfb is not installed"
    # the instance lock is machine-wide: another copy would make this one a second copy that only shows a box
    grep -q '@veltrane-instance:' /proc/net/unix && die "another Veltrane is running on this machine"
    work=$(mktemp -d "${TMPDIR:-/tmp}/veltrane-$1.XXXXXX")
    xvfb_pid="" game_pid=""
    trap Stop_xvfb EXIT
    trap 'exit 130' INT TERM
    mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 "${2:-1600x1000}x24" -nolisten tcp -noreset 3>"$work/displayfd" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local number
    read -r -t 10 number <"$work/displayfd" || die "Xvfb did not start"
    export DISPLAY=":$number"
}

Stop_xvfb() {
    [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
