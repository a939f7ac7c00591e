# Shared by scripts/try and scripts/test: install what is missing, build, and
# run a private Xvfb and a persistent wineserver that are stopped (by process
# id, and only those) when the script ends.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

# wine32:i386 lets the one Wine prefix run the 32-bit exes next to the 64-bit
# ones; clang, lld and the compiler-rt libraries build the fuzz targets
# (libFuzzer) and the clang build of the Windows sources; locales gives the
# Wine tests the locales of other code pages; ccache keeps compiles from
# one build to the next.
PACKAGES=(cmake ninja-build ccache g++ libgtest-dev googletest
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          clang lld libclang-rt-14-dev
          wine wine64 wine32:i386 fonts-wine xvfb xauth fonts-liberation imagemagick x11-utils locales)

# The two Windows builds, each a configure, build and test preset: 64-bit
# (x86-64) and 32-bit (i686).
WINDOWS_PRESETS=(windows windows32)

log() { printf '== %s %s\n' "$(date +%H:%M:%S)" "$*" >&2; }

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
    # Packages of another architecture (wine32:i386) need it enabled first;
    # the update that follows then reads its package lists.
    for p in "${missing[@]}"; do
        if [[ $p == *:* ]] && ! { [ "${p#*:}" = "$(dpkg --print-architecture)" ] ||
                                   dpkg --print-foreign-architectures | grep -qx "${p#*:}"; }; then
            log "enabling the ${p#*:} architecture for $p"
            $sudo dpkg --add-architecture "${p#*:}"
        fi
    done
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

# Configures a preset and builds it, or only the given targets; the output
# goes to the terminal. With ccache installed every compile goes through it,
# so a build from a fresh clone on a machine that built before is quick.
# ZOL_BUILD_NICE, when set, is the niceness the compilers run at.
build_preset() {
    local preset=$1 nice_prefix=()
    shift
    if command -v ccache >/dev/null; then
        export CMAKE_CXX_COMPILER_LAUNCHER=ccache
        # Paths inside the clone are hashed as relative ones, so that a
        # fresh clone in another folder finds what an earlier one compiled.
        export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
    fi
    [ -n "${ZOL_BUILD_NICE:-}" ] && nice_prefix=(nice -n "$ZOL_BUILD_NICE")
    cmake --preset "$preset" >/dev/null || return
    if [ $# -gt 0 ]; then
        "${nice_prefix[@]}" cmake --build --preset "$preset" --target "$@"
    else
        "${nice_prefix[@]}" cmake --build --preset "$preset"
    fi
}

XVFB_PID=""
WINESERVER_PID=""

stop_session() {
    if [ -n "$WINESERVER_PID" ]; then
        # Ask our server to end every Wine process of the prefix and then
        # itself. A plain signal to the server ends only the server: Wine's
        # services (services.exe, explorer.exe, winedevice.exe, ...) would
        # stay behind, asleep, after every session.
        if kill -0 "$WINESERVER_PID" 2>/dev/null; then
            wineserver -k 2>/dev/null || true
            local i
            for i in $(seq 1 100); do
                kill -0 "$WINESERVER_PID" 2>/dev/null || break
                sleep 0.1
            done
        fi
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

# Writes an XKB data folder whose keyboard has no Shift, Control or Alt keys
# and prints its path. The tests press keys through SendInput, which never
# reaches the X server; whenever X reports its key map to a Wine window
# (after every change of focus between Wine's windows), Wine releases each
# key that X says is up. A modifier the tests hold down could be released
# that way between its press and the key it goes with, making Alt+H an "h"
# typed into a box. With no modifier keys in X's key map Wine leaves them as
# SendInput set them; X itself never has a key pressed under Xvfb.
keymap_without_modifiers() {
    local src=/usr/share/X11/xkb dir="$ROOT/build/xkb-no-modifiers${ZOL_SESSION:+-$ZOL_SESSION}" part
    rm -rf "$dir"
    mkdir -p "$dir"
    for part in compat geometry keycodes rules types; do ln -s "$src/$part" "$dir/$part"; done
    cp -r "$src/symbols" "$dir/symbols"
    # The modifier keys are all defined in the "pc" symbols every layout
    # starts from; Alt and Meta come in through altwin(meta_alt).
    sed -i -E '/(Shift|Control|Alt|Meta)_[LR]|<META>|include "altwin\(meta_alt\)"/d' "$dir/symbols/pc"
    echo "$dir"
}

# Starts a private Xvfb and sets DISPLAY. Xvfb picks a free display itself
# and writes its number to the descriptor given by -displayfd once it
# accepts connections, so there is no race with other servers for a number
# and no guessing whether it came up. Stops the script when it did not.
start_xvfb() {
    local dir fd xkb n="" xlog="$ROOT/build/xvfb${ZOL_SESSION:+-$ZOL_SESSION}.log"
    mkdir -p "$ROOT/build"
    dir=$(mktemp -d "$ROOT/build/xvfb.XXXXXX")
    mkfifo "$dir/displayfd"
    xkb=$(keymap_without_modifiers)
    Xvfb -displayfd 3 -xkbdir "$xkb" -screen 0 1280x800x24 -nolisten tcp 3>"$dir/displayfd" >"$xlog" 2>&1 &
    XVFB_PID=$!
    # Opening the read end waits for Xvfb's shell to open the write end; the
    # read ends with the number, or at end of file when Xvfb exits first.
    exec {fd}<"$dir/displayfd"
    read -r -t 30 -u "$fd" n || true
    exec {fd}<&-
    rm -rf "$dir"
    if ! [[ $n =~ ^[0-9]+$ ]] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
        log "Xvfb did not start (it ended, or gave no display number within 30 s); its output ($xlog):"
        cat "$xlog" >&2
        exit 1
    fi
    export DISPLAY=":$n"
    log "started Xvfb on $DISPLAY (pid $XVFB_PID)"
}

# What a Wine prefix is made with. A prefix made with anything else is made
# afresh: one created before wine32 was installed refuses 64-bit programs
# afterwards ("could not load kernel32.dll"), and one created for Wine's own
# desktop is not the one for a real display.
prefix_recipe() {
    local desktop=$1
    echo "recipe 3"
    echo "WINEARCH $WINEARCH"
    echo "desktop $desktop"
    dpkg-query -W -f='${Package}:${Architecture} ${Version} ${Status}\n' wine64 'wine32:i386' 2>/dev/null ||
        true
}

# Makes WINEPREFIX when it is missing or was made by another recipe.
ensure_prefix() {
    local desktop=$1 recipe marker="$WINEPREFIX/zol-prefix.txt"
    recipe=$(prefix_recipe "$desktop")
    if [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$marker" 2>/dev/null)" = "$recipe" ]; then
        return 0
    fi
    if [ -e "$WINEPREFIX" ]; then
        log "the Wine prefix $WINEPREFIX was made with another Wine or by another recipe: making it afresh"
        # Its server (a session's that ended badly) goes first.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    fi
    log "creating the Wine prefix $WINEPREFIX (once)"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    # Wine draws the title-bar buttons with its own Marlett font (fonts-wine).
    # This Wine looks for its own fonts in its data folder by a path it cannot
    # open, and without them every title bar shows "0 1 r" for minimise,
    # maximise and close. It does find what the prefix's Fonts folder holds.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null ||
        log "no /usr/share/wine/fonts/marlett.ttf (fonts-wine): title bars will show letters for their buttons"
    # A crashing test should fail, not wait for someone to close a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    if [ "$desktop" = 1 ]; then
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1 || true
    fi
    # The desktop setting takes effect when the prefix's server starts
    # afresh; this server was started by wineboot just now, for this
    # prefix only. It writes the registry files as it ends.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "wineboot did not create the Wine prefix $WINEPREFIX (no system.reg)"
        exit 1
    fi
    echo "$recipe" >"$marker"
}

# Waits for the socket of the wineserver just started, so that the next wine
# command joins this server instead of racing it and starting one of its
# own. The socket's folder is named by the prefix's device and inode, under a
# temporary folder whose name varies between Wine builds. Stops the script
# when the socket never appears.
wait_for_wineserver() {
    local server_dir i s
    server_dir="server-$(printf '%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))"
    for i in $(seq 1 600); do
        for s in /tmp/wine-*/"$server_dir"/socket /tmp/.wine-"$(id -u)"/"$server_dir"/socket; do
            [ -S "$s" ] && return 0
        done
        sleep 0.05
    done
    log "the wineserver (pid $WINESERVER_PID) did not open its socket ($server_dir/socket under /tmp/.wine-$(id -u)) within 30 s; prefix $WINEPREFIX"
    kill -0 "$WINESERVER_PID" 2>/dev/null || log "the wineserver is no longer running"
    exit 1
}

# Starts Xvfb when there is no display, and a wineserver that stays up for
# the whole session on a prefix inside the build folder. On Xvfb (and always
# for the tests) Wine draws its own virtual desktop: windows get frames, and
# closing a window does not wait two seconds for a window manager that is
# not there.
start_session() {
    local purpose="${1:-test}"
    trap stop_session EXIT
    [ -z "${DISPLAY:-}" ] && start_xvfb
    local desktop=1
    if [ "$purpose" = try ] && [ -z "$XVFB_PID" ]; then desktop=0; fi
    # ZOL_SESSION names a session of its own (its own prefix and server), so
    # that several can run side by side, each on its own display.
    local own="${ZOL_SESSION:+-$ZOL_SESSION}"
    if [ $desktop = 1 ]; then
        export WINEPREFIX="$ROOT/build/wineprefix$own"
    else
        export WINEPREFIX="$ROOT/build/wineprefix-x11$own"
    fi
    export WINEARCH=win64
    # Wine's debug channels stay quiet unless asked for, e.g.
    # ZOL_WINEDEBUG=+keyboard,+timestamp ./scripts/wine-test keyboard_test
    export WINEDEBUG=${ZOL_WINEDEBUG:--all}
    # No Mono or Gecko download prompts: nothing here needs them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    ensure_prefix "$desktop"
    wineserver -f -p &
    WINESERVER_PID=$!
    wait_for_wineserver
    # The first window of a session starts Wine's desktop and services,
    # which then live as long as the server and keep whatever output the
    # program that started them had. Start them here, with output going
    # nowhere, so they never hold a test's output open after it ends.
    # It is also the check that the prefix runs our 64-bit programs.
    local starter="$ROOT/build/windows/bin/practice-room.exe"
    if [ -x "$starter" ]; then
        if ! wine "$starter" --quit-after 1 </dev/null >/dev/null 2>&1; then
            log "Wine could not run $starter in the prefix $WINEPREFIX; delete the prefix to have it made afresh"
            exit 1
        fi
    else
        wine wineboot </dev/null >/dev/null 2>&1 || true
    fi
}

# A long run under Wine, not part of scripts/test (scripts/soak and
# scripts/monkey): builds the driver exe of the preset, starts the session,
# runs the driver with the given arguments and follows its output, which is
# kept in LOG, then prints the figures the driver ends with (from the line
# "== NAME figures ==" on). Returns the driver's exit code.
#
#   run_long_driver NAME PRESET TARGET LOG [driver arguments]
run_long_driver() {
    local name=$1 preset=$2 target=$3 out=$4
    shift 4
    install_missing
    log "building the Windows exes and the $name driver (preset $preset)"
    build_preset "$preset" "$target"
    start_session
    log "$name $* (display $DISPLAY, prefix $WINEPREFIX)"
    # The output goes to a file, followed live, not into a pipe: Wine's
    # services, started by the first program of a fresh server, inherit its
    # standard output and keep a pipe open after the program has ended.
    local status=0 driver follow
    wine "build/$preset/bin/$target.exe" "$@" >"$out" 2>&1 &
    driver=$!
    tail -n +1 -f --pid="$driver" "$out" | tr -d '\r' &
    follow=$!
    wait "$driver" || status=$?
    wait "$follow" || true
    echo
    echo "$name $* ($preset) on $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -n):"
    tr -d '\r' <"$out" | sed -n "/^== $name figures ==/,\$p"
    return "$status"
}

# The test kit of a Windows build, as scripts/release zips it for Windows
# users: the Wine test programs, zolspar.exe and practice-room.exe,
# kit-info.exe and run-tests.cmd, in one folder. Writes ZIP (replacing it).
#
#   make_kit PRESET ZIP
make_kit() {
    local preset=$1 zip=$2 bin="$ROOT/build/$1/bin" stage
    stage=$(mktemp -d "$ROOT/build/kit-stage.XXXXXX")
    cp "$bin"/*_test.exe "$bin/zolspar.exe" "$bin/practice-room.exe" "$bin/kit-info.exe" "$bin/run-tests.cmd" "$stage/" ||
        { rm -rf "$stage"; return 1; }
    rm -f "$zip"
    (cd "$stage" && cmake -E tar cf "$zip" --format=zip -- *) || { rm -rf "$stage"; return 1; }
    rm -rf "$stage"
}

# Unzips a kit into a fresh folder and runs its run-tests.cmd there under
# Wine's own cmd, in the current session, with any program names after it;
# the output goes to LOG. Prints the kit's last line ("N passed, M failed").
#
#   run_kit ZIP DIR LOG [program names]
run_kit() {
    local zip=$1 dir=$2 out=$3
    shift 3
    rm -rf "$dir"
    mkdir -p "$dir"
    (cd "$dir" && cmake -E tar xf "$zip") || return 1
    (cd "$dir" && wine cmd /c run-tests.cmd "$@") </dev/null >"$out" 2>&1 || true
    tr -d '\r' <"$out" | grep -E '^[0-9]+ passed, [0-9]+ failed$' | tail -n 1
}
