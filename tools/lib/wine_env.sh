#!/usr/bin/env bash
# A private Wine environment: one Xvfb display and one fresh WINEPREFIX, kept in a folder.
#
# Usage:
#   wine_env.sh start DIR [WxH [MONITOR...]]
#                                 start Xvfb (default 800x600) on a free display, create and
#                                 initialise DIR/prefix, keep its wineserver running, and
#                                 write DIR/env; a previous environment in DIR is stopped first.
#                                 Each MONITOR, NAME:WxH+X+Y in X's coordinates (a NAME that
#                                 begins with * is the primary), declares one monitor on the
#                                 screen; Wine then sees those monitors instead of one
#   wine_env.sh screen DIR WxH [MONITOR...]
#                                 programs started from now on in DIR see this screen instead
#                                 (a new Xvfb; the prefix stays)
#   wine_env.sh dpi DIR N         programs started from now on in DIR see a display of N dpi
#   wine_env.sh exec DIR CMD...   run CMD with DISPLAY, WINEPREFIX and WINEDEBUG from DIR/env
#   wine_env.sh stop DIR          stop the wineserver of DIR/prefix and the Xvfb of DIR, by PID,
#                                 and remove the prefix
#
# With WINE_ENV_ARCH=win32 in the environment, start makes a 32-bit prefix, as on 32-bit
# Windows; otherwise a 64-bit one, which runs 32-bit programs too, as 64-bit Windows does.
#
# DIR/env is a shell file to source: it exports DISPLAY, WINEPREFIX, WINEDEBUG and WINEARCH,
# and sets WINE_ENV_XVFB_PID and WINE_ENV_WINE (the prefix's own Wine loader). The script can
# also be sourced; it then defines wine_env_start, wine_env_screen, wine_env_dpi,
# wine_env_exec and wine_env_stop with the same arguments.
#
# Each Xvfb takes a display nobody uses (tools/lib/xvfb.sh), so racing runs never share one.

# shellcheck source=tools/lib/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

WINE_ENV_WINE64=/usr/lib/wine/wine64
WINE_ENV_WINE32=/usr/lib/wine/wine
WINE_ENV_WINESERVER=/usr/lib/wine/wineserver

wine_env_fail() {
    echo "wine_env.sh: $*" >&2
    return 1
}

# Runs Wine's reg tool with ARGS in the prefix of DIR/env; its output goes nowhere.
wine_env_reg() {
    local dir=$1
    shift
    (
        # shellcheck source=/dev/null
        . "$dir/env"
        "$WINE_ENV_WINE" reg "$@" >/dev/null 2>&1
    )
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

# Declares each monitor NAME:WxH+X+Y on the display of DIR/env, 96 dpi in size. The first
# takes Xvfb's one output, which otherwise stays a monitor of its own over the whole screen.
wine_env_declare_monitors() {
    local dir=$1 output=screen monitor name w h x y
    shift
    for monitor in "$@"; do
        [[ $monitor =~ ^(\*?[A-Za-z0-9]+):([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
        name=${BASH_REMATCH[1]} w=${BASH_REMATCH[2]} h=${BASH_REMATCH[3]}
        x=${BASH_REMATCH[4]} y=${BASH_REMATCH[5]}
        wine_env_exec "$dir" xrandr --setmonitor "$name" \
            "$w/$((w * 254 / 960))x$h/$((h * 254 / 960))+$x+$y" "$output" >>"$dir/xvfb.log" 2>&1 ||
            wine_env_fail "xrandr could not declare monitor '$monitor'" || return 1
        output=none
    done
}

# Ends the prefix's wineserver and starts a persistent one: Wine reads the monitors and the
# display settings only when its server starts. Its output goes to a file, so that a caller
# that waits for its own pipes to close (ctest does) does not wait for the server.
wine_env_restart_server() {
    (
        # shellcheck source=/dev/null
        . "$1/env"
        exec </dev/null >>"$1/wineboot.log" 2>&1
        "$WINE_ENV_WINESERVER" -k
        "$WINE_ENV_WINESERVER" -w
        "$WINE_ENV_WINESERVER" -p || exit 1
        # The desktop and the services the server keeps: started here, they hold none of
        # the caller's pipes.
        "$WINE_ENV_WINE" wineboot
    )
}

# Writes DIR/env for the display and Xvfb given, and the prefix's kind and loader.
wine_env_write_env() {
    local dir=$1 display=$2 xvfb_pid=$3 arch=$4 wine=$5
    printf 'export DISPLAY=%s\nexport WINEPREFIX=%q\nexport WINEDEBUG=-all\nexport WINEARCH=%s\n' \
        "$display" "$dir/prefix" "$arch" >"$dir/env"
    printf 'WINE_ENV_XVFB_PID=%s\nWINE_ENV_WINE=%s\n' "$xvfb_pid" "$wine" >>"$dir/env"
}

# Checks a screen: WxH and monitors NAME:WxH+X+Y.
wine_env_check_screen() {
    [[ $1 =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || wine_env_fail "bad geometry '$1'" || return 1
    shift
    local monitor
    for monitor in "$@"; do
        [[ $monitor =~ ^\*?[A-Za-z0-9]+:[1-9][0-9]*x[1-9][0-9]*\+[0-9]+\+[0-9]+$ ]] ||
            wine_env_fail "bad monitor '$monitor' (NAME:WxH+X+Y)" || return 1
    done
}

# Declares the monitors on DIR's display and tells Wine which display handler to use:
# its XRandR one counts outputs, of which Xvfb has one; its Xinerama one sees the declared
# monitors. Then restarts the server, which reads both only when it starts.
wine_env_use_monitors() {
    local dir=$1
    shift
    if [ $# -gt 0 ]; then
        wine_env_declare_monitors "$dir" "$@" &&
            wine_env_reg "$dir" add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f
    else
        wine_env_reg "$dir" delete 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /f
        true
    fi && wine_env_restart_server "$dir"
}

wine_env_start() {
    local dir=${1:?usage: wine_env.sh start DIR [WxH [MONITOR...]]} geometry=${2:-800x600}
    shift $(($# < 2 ? $# : 2))
    wine_env_check_screen "$geometry" "$@" || return 1
    mkdir -p "$dir" || return 1
    dir=$(cd "$dir" && pwd) || return 1
    if [ -e "$dir/env" ]; then wine_env_stop "$dir" || return 1; fi

    local arch=${WINE_ENV_ARCH:-win64} wine=$WINE_ENV_WINE64
    case $arch in
        win64) ;;
        win32) wine=$WINE_ENV_WINE32 ;;
        *) wine_env_fail "bad WINE_ENV_ARCH '$arch' (win32 or win64)" || return 1 ;;
    esac
    # Its output goes to a file: a caller that waits for its own pipes to close (ctest does)
    # must not wait for Xvfb.
    xvfb_start "$dir/xvfb.log" "$geometry" || return 1
    rm -rf "$dir/prefix"
    # Written first, so that a failure below can stop what was started.
    wine_env_write_env "$dir" "$XVFB_DISPLAY" "$XVFB_PID" "$arch" "$wine"
    if ! wine_env_init_prefix "$dir"; then
        wine_env_stop "$dir"
        wine_env_fail "could not initialise the prefix, see $dir/wineboot.log"
        return 1
    fi
    if [ $# -gt 0 ] && ! wine_env_use_monitors "$dir" "$@"; then
        wine_env_stop "$dir"
        return 1
    fi
    echo "$geometry $*" >"$dir/screen"
    echo 96 >"$dir/dpi"
    echo "wine_env.sh: display $XVFB_DISPLAY ($geometry $*), prefix $dir/prefix"
}

# DIR/screen holds the screen in force, so that asking for it again restarts nothing.
# Otherwise the prefix stays and only the display changes: a new Xvfb, and a new server,
# as Wine's processes connect to the display when they start.
wine_env_screen() {
    local dir=${1:?usage: wine_env.sh screen DIR WxH [MONITOR...]}
    local geometry=${2:?usage: wine_env.sh screen DIR WxH [MONITOR...]}
    shift 2
    wine_env_check_screen "$geometry" "$@" || return 1
    [ -e "$dir/env" ] || wine_env_fail "no environment in $dir (run start first)" || return 1
    [ "$(cat "$dir/screen" 2>/dev/null)" = "$geometry $*" ] && return 0

    local DISPLAY WINEPREFIX WINEDEBUG WINEARCH WINE_ENV_XVFB_PID WINE_ENV_WINE
    # shellcheck source=/dev/null
    . "$dir/env"
    rm -f "$dir/screen"
    WINEPREFIX="$WINEPREFIX" "$WINE_ENV_WINESERVER" -k 2>/dev/null &&
        WINEPREFIX="$WINEPREFIX" "$WINE_ENV_WINESERVER" -w
    xvfb_stop "$WINE_ENV_XVFB_PID"
    xvfb_start "$dir/xvfb.log" "$geometry" || return 1
    wine_env_write_env "$dir" "$XVFB_DISPLAY" "$XVFB_PID" "$WINEARCH" "$WINE_ENV_WINE"
    wine_env_use_monitors "$dir" "$@" || return 1
    echo "$geometry $*" >"$dir/screen"
}

# DIR/dpi holds the DPI in force, so that asking for it again restarts nothing.
wine_env_dpi() {
    local dir=${1:?usage: wine_env.sh dpi DIR N} dpi=${2:?usage: wine_env.sh dpi DIR N}
    [[ $dpi =~ ^[1-9][0-9]*$ ]] || wine_env_fail "bad dpi '$dpi'" || return 1
    [ "$(cat "$dir/dpi" 2>/dev/null)" = "$dpi" ] && return 0
    wine_env_reg "$dir" add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f ||
        wine_env_fail "could not set $dpi dpi" || return 1
    wine_env_restart_server "$dir" && echo "$dpi" >"$dir/dpi"
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
    local DISPLAY WINEPREFIX WINEDEBUG WINEARCH WINE_ENV_XVFB_PID WINE_ENV_WINE
    # shellcheck source=/dev/null
    . "$dir/env"
    # Killed and then waited for, so that it writes nothing into the prefix once removed.
    WINEPREFIX="$WINEPREFIX" "$WINE_ENV_WINESERVER" -k 2>/dev/null &&
        WINEPREFIX="$WINEPREFIX" "$WINE_ENV_WINESERVER" -w
    xvfb_stop "$WINE_ENV_XVFB_PID"
    # A prefix is about 700 MB; the next start makes a fresh one anyway.
    rm -rf "$dir/env" "$dir/dpi" "$dir/screen" "$WINEPREFIX"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    command=${1:-}
    shift || true
    case $command in
        start) wine_env_start "$@" ;;
        screen) wine_env_screen "$@" ;;
        dpi) wine_env_dpi "$@" ;;
        exec) wine_env_exec "$@" ;;
        stop) wine_env_stop "$@" ;;
        *)
            sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2
            exit 2
            ;;
    esac
fi
