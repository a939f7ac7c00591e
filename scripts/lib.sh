# Shared by scripts/try and scripts/test: install what is missing, build, and
# run a private Xvfb and a persistent wineserver that are stopped (by process
# id, and only those) when the script ends.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

PACKAGES=(cmake ninja-build g++ libgtest-dev googletest g++-mingw-w64-x86-64-posix
          wine wine64 xvfb xauth fonts-liberation imagemagick x11-utils locales)

log() { printf '== %s\n' "$*" >&2; }

install_missing() {
    local missing=()
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && { generate_locales; return 0; }
    log "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    generate_locales
}

# The locales some Wine tests run under (Wine takes the code page from them:
# ja_JP gives 932, zh_CN 936, ko_KR 949, hi_IN 65001); Debian generates none
# by itself.
TEST_LOCALES=(ja_JP zh_CN ko_KR hi_IN)
generate_locales() {
    local l sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    for l in "${TEST_LOCALES[@]}"; do
        locale -a 2>/dev/null | grep -qixE "$l\.utf-?8" && continue
        log "generating the locale $l.UTF-8"
        $sudo localedef -i "$l" -f UTF-8 "$l.UTF-8" || log "could not generate $l.UTF-8"
    done
}

build_all() {
    log "building the native core and its tests"
    cmake --preset native >/dev/null
    cmake --build --preset native
    log "building the Windows exes and their tests (mingw-w64)"
    cmake --preset windows >/dev/null
    cmake --build --preset windows
}

XVFB_PID=""
WINESERVER_PID=""

stop_session() {
    if [ -n "$WINESERVER_PID" ]; then
        kill "$WINESERVER_PID" 2>/dev/null || true
        wait "$WINESERVER_PID" 2>/dev/null || true
        WINESERVER_PID=""
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}

# Starts Xvfb when there is no display, and a wineserver that stays up for
# the whole session on a prefix inside the build folder. On Xvfb (and always
# for the tests) Wine draws its own virtual desktop: windows get frames, and
# closing a window does not wait two seconds for a window manager that is
# not there.
start_session() {
    local purpose="${1:-test}"
    trap stop_session EXIT
    if [ -z "${DISPLAY:-}" ]; then
        local n=90
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        log "started Xvfb on $DISPLAY (pid $XVFB_PID)"
    fi
    local desktop=1
    if [ "$purpose" = try ] && [ -z "$XVFB_PID" ]; then desktop=0; fi
    if [ $desktop = 1 ]; then
        export WINEPREFIX="$ROOT/build/wineprefix"
    else
        export WINEPREFIX="$ROOT/build/wineprefix-x11"
    fi
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko download prompts: nothing here needs them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "creating the Wine prefix (once)"
        wine wineboot -i >/dev/null 2>&1 || true
        # A crashing test should fail, not wait for someone to close a dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
        if [ $desktop = 1 ]; then
            wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1 || true
        fi
        # The desktop setting takes effect when the prefix's server starts
        # afresh; this server was started by wineboot just now, for this
        # prefix only.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    wineserver -f -p &
    WINESERVER_PID=$!
    # Wait for its socket, so the next wine command joins this server
    # instead of racing it and starting one of its own.
    # The socket's folder is named by the prefix's device and inode, under
    # a temporary folder whose name varies between Wine builds.
    local server_dir i s
    server_dir="server-$(printf '%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))"
    for i in $(seq 1 100); do
        for s in /tmp/wine-*/"$server_dir"/socket /tmp/.wine-"$(id -u)"/"$server_dir"/socket; do
            [ -S "$s" ] && break 2
        done
        sleep 0.05
    done
    # The first window of a session starts Wine's desktop and services,
    # which then live as long as the server and keep whatever output the
    # program that started them had. Start them here, with output going
    # nowhere, so they never hold a test's output open after it ends.
    local starter="$ROOT/build/windows/bin/practice-room.exe"
    if [ -x "$starter" ]; then
        wine "$starter" --quit-after 1 </dev/null >/dev/null 2>&1 || true
    else
        wine wineboot </dev/null >/dev/null 2>&1 || true
    fi
}
