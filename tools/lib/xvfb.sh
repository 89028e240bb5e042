# shellcheck shell=bash
# The shell tools' private X display and their one way of waiting for a state. Source it.
#
#   poll_until SECONDS COMMAND...   runs COMMAND every 50 ms until it succeeds or SECONDS (a
#                                   whole number) have passed; then the status of one last run
#   process_gone PID                true once process PID has ended (a zombie has ended too)
#   xvfb_start LOG WxH [ARG...]     starts Xvfb on a display nobody uses, with a WxH screen of
#                                   24 bits and the extra ARGs; sets XVFB_DISPLAY (":N") and
#                                   XVFB_PID once it takes connections; its output goes to LOG
#   xvfb_stop PID                   ends the Xvfb of PID, if PID still is one, and waits for it
#
# Xvfb picks the display itself: with -displayfd and no number it takes the first free one
# and writes its number on that descriptor once it accepts connections, so racing runs never
# share a display and nothing scans lock files.

poll_until() {
    local limit_us=$(($1 * 1000000)) start=${EPOCHREALTIME/./}
    shift
    until "$@"; do
        ((${EPOCHREALTIME/./} - start < limit_us)) || {
            "$@"
            return
        }
        sleep 0.05
    done
}

# True once Xvfb PID has written its display number and a line feed to FILE, or has died.
xvfb_answered() {
    tail -c 1 "$1" 2>/dev/null | grep -q '^$' || ! kill -0 "$2" 2>/dev/null
}

xvfb_start() {
    local log=$1 geometry=$2 ready number
    shift 2
    ready=$(mktemp) || return 1
    # -noreset: without it the server resets when its last client leaves, and monitors made
    # with xrandr are lost.
    Xvfb -displayfd 3 -screen 0 "${geometry}x24" -nolisten tcp -noreset "$@" \
        3>"$ready" </dev/null >"$log" 2>&1 &
    XVFB_PID=$!
    poll_until 30 xvfb_answered "$ready" "$XVFB_PID"
    number=$(head -n 1 "$ready")
    rm -f "$ready"
    if [ -z "$number" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
        xvfb_stop "$XVFB_PID"
        echo "xvfb.sh: Xvfb did not start, see $log" >&2
        return 1
    fi
    # shellcheck disable=SC2034 # for the caller
    XVFB_DISPLAY=":$number"
}

process_gone() {
    local state
    state=$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) || return 0
    [ "$state" = Z ]
}

xvfb_stop() {
    local pid=$1
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 0
    kill "$pid" 2>/dev/null
    poll_until 5 process_gone "$pid" || kill -9 "$pid" 2>/dev/null
    # Reaped here when this shell started it; otherwise its parent reaps it.
    wait "$pid" 2>/dev/null || true
}
