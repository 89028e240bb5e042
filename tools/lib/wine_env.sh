#!/usr/bin/env bash
# A private Wine environment: one Xvfb display and one fresh WINEPREFIX, kept in a folder.
#
# Usage:
#   wine_env.sh start DIR [WxH]   start Xvfb (default 800x600) on a free display, create and
#                                 initialise DIR/prefix, keep its wineserver running, and
#                                 write DIR/env; a previous environment in DIR is stopped first
#   wine_env.sh exec DIR CMD...   run CMD with DISPLAY, WINEPREFIX and WINEDEBUG from DIR/env
#   wine_env.sh stop DIR          stop the wineserver of DIR/prefix and the Xvfb of DIR, by PID,
#                                 and remove the prefix
#
# DIR/env is a shell file to source: it exports DISPLAY, WINEPREFIX and WINEDEBUG, and sets
# WINE_ENV_XVFB_PID. The script can also be sourced; it then defines wine_env_start,
# wine_env_exec and wine_env_stop with the same arguments.
#
# Displays are taken from :60 upwards (:40-:59 are left for manual runs); a display whose
# /tmp/.XN-lock exists is skipped, and if another run takes the same N first, that Xvfb
# fails to start and the next N is tried, so racing runs never share a display.

WINE_ENV_WINE=/usr/lib/wine/wine64
WINE_ENV_WINESERVER=/usr/lib/wine/wineserver
WINE_ENV_FIRST_DISPLAY=60
WINE_ENV_LAST_DISPLAY=199

wine_env_fail() {
    echo "wine_env.sh: $*" >&2
    return 1
}

# Waits up to $2 seconds for process $1 to end; true if it ended.
wine_env_wait_gone() {
    local pid=$1 tries=$(($2 * 20))
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
        sleep 0.05
        tries=$((tries - 1))
    done
    ! kill -0 "$pid" 2>/dev/null
}

# Starts Xvfb on the first free display and prints "N PID". Readiness comes from -displayfd:
# Xvfb writes the display number into the file once it accepts connections.
wine_env_start_xvfb() {
    local dir=$1 geometry=$2 n pid tries ready_file="$1/xvfb.ready"
    for ((n = WINE_ENV_FIRST_DISPLAY; n <= WINE_ENV_LAST_DISPLAY; n++)); do
        [ -e "/tmp/.X$n-lock" ] && continue
        rm -f "$ready_file"
        # Its output goes to a file: a caller that waits for its own pipes to close
        # (ctest does) must not wait for Xvfb.
        Xvfb ":$n" -screen 0 "${geometry}x24" -nolisten tcp -displayfd 3 \
            3>"$ready_file" </dev/null >"$dir/xvfb.log" 2>&1 &
        pid=$!
        tries=200
        while kill -0 "$pid" 2>/dev/null && ! grep -q . "$ready_file" && [ "$tries" -gt 0 ]; do
            sleep 0.05
            tries=$((tries - 1))
        done
        if grep -q . "$ready_file" && kill -0 "$pid" 2>/dev/null; then
            echo "$n $pid"
            return 0
        fi
        # Lost a race for this display, or Xvfb hung: make sure it is gone, try the next.
        kill "$pid" 2>/dev/null
        wine_env_wait_gone "$pid" 5 || kill -9 "$pid" 2>/dev/null
    done
    wine_env_fail "no free X display in :$WINE_ENV_FIRST_DISPLAY-:$WINE_ENV_LAST_DISPLAY"
}

# Initialises the prefix named in DIR/env; all output goes to DIR/wineboot.log.
wine_env_init_prefix() {
    local dir=$1
    (
        # shellcheck source=/dev/null
        . "$dir/env"
        exec </dev/null >"$dir/wineboot.log" 2>&1
        mkdir -p "$WINEPREFIX" || exit 1
        # A persistent wineserver, started first, serves wineboot and keeps every later
        # start warm until stop (waiting for a short-lived one to exit costs about 5 s).
        "$WINE_ENV_WINESERVER" -p || exit 1
        # Gecko and Mono are not installed: without the overrides wineboot offers to fetch them.
        WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE_ENV_WINE" wineboot -i || exit 1
        # There is no window manager on Xvfb: without this, Wine waits about 2 s for one to
        # withdraw each full-screen window it closes.
        "$WINE_ENV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    )
}

wine_env_start() {
    local dir=${1:?usage: wine_env.sh start DIR [WxH]} geometry=${2:-800x600}
    [[ $geometry =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || wine_env_fail "bad geometry '$geometry'" || return 1
    mkdir -p "$dir" || return 1
    dir=$(cd "$dir" && pwd) || return 1
    if [ -e "$dir/env" ]; then wine_env_stop "$dir" || return 1; fi

    local display_and_pid display xvfb_pid prefix="$dir/prefix"
    display_and_pid=$(wine_env_start_xvfb "$dir" "$geometry") || return 1
    read -r display xvfb_pid <<<"$display_and_pid"
    rm -rf "$prefix"
    # Written first, so that a failure below can stop what was started.
    printf 'export DISPLAY=:%s\nexport WINEPREFIX=%q\nexport WINEDEBUG=-all\nWINE_ENV_XVFB_PID=%s\n' \
        "$display" "$prefix" "$xvfb_pid" >"$dir/env"
    if ! wine_env_init_prefix "$dir"; then
        wine_env_stop "$dir"
        wine_env_fail "could not initialise the prefix, see $dir/wineboot.log"
        return 1
    fi
    echo "wine_env.sh: display :$display ($geometry), prefix $prefix"
}

wine_env_exec() {
    local dir=${1:?usage: wine_env.sh exec DIR CMD...}
    shift
    [ -e "$dir/env" ] || wine_env_fail "no environment in $dir (run start first)" || return 1
    (
        # shellcheck source=/dev/null
        . "$dir/env"
        exec "$@"
    )
}

wine_env_stop() {
    local dir=${1:?usage: wine_env.sh stop DIR}
    [ -e "$dir/env" ] || return 0
    local DISPLAY WINEPREFIX WINEDEBUG WINE_ENV_XVFB_PID
    # shellcheck source=/dev/null
    . "$dir/env"
    # Killed and then waited for, so that it writes nothing into the prefix once removed.
    WINEPREFIX="$WINEPREFIX" "$WINE_ENV_WINESERVER" -k 2>/dev/null &&
        WINEPREFIX="$WINEPREFIX" "$WINE_ENV_WINESERVER" -w
    # Only signal the PID if it still is our Xvfb (the number may have been reused).
    if [ "$(cat "/proc/$WINE_ENV_XVFB_PID/comm" 2>/dev/null)" = Xvfb ]; then
        kill "$WINE_ENV_XVFB_PID"
        if ! wine_env_wait_gone "$WINE_ENV_XVFB_PID" 5; then
            kill -9 "$WINE_ENV_XVFB_PID"
            rm -f "/tmp/.X${DISPLAY#:}-lock"
        fi
    fi
    # A prefix is about 700 MB; the next start makes a fresh one anyway.
    rm -rf "$dir/env" "$dir/xvfb.ready" "$WINEPREFIX"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    command=${1:-}
    shift || true
    case $command in
        start) wine_env_start "$@" ;;
        exec) wine_env_exec "$@" ;;
        stop) wine_env_stop "$@" ;;
        *)
            sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2
            exit 2
            ;;
    esac
fi
