#!/usr/bin/env bash
# Build, run and test support for tamsaek on Linux: the mingw-w64 cross build,
# the project's Wine prefix, Xvfb and the Wine server.
#
# As a command (default steps: deps prefix):
#   scripts/setup.sh [deps|prefix|configure|build|all]...
# As a library (./test and ./run do this):
#   source scripts/setup.sh
#   tamsaek_install_deps             Debian/Ubuntu packages and the ko_KR.UTF-8 locale, when missing
#   tamsaek_arch                     prints win32, or win64 on hosts that cannot run 32-bit code
#   tamsaek_configure_build [DIR]    configures DIR (default build/) for tamsaek_arch, once
#   tamsaek_build [DIR]              builds DIR
#   tamsaek_configure_host [DIR]     configures DIR (default build-host/): the platform-free logic
#                                    for this machine with clang, under the sanitizers, and its fuzz targets
#   tamsaek_prefix                   prints the Wine prefix path
#   tamsaek_make_prefix              creates and sets up the prefix when missing or outdated
#   start_display                    starts Xvfb when DISPLAY is unset (stopped on exit)
#   start_wineserver                 starts a persistent Wine server and warms it (stopped on exit)
#   stop_wineserver                  ends the Wine server and every program in the prefix
#   tamsaek_on_exit CMD [ARGS...]    runs CMD when the shell exits (last registered runs first)
#   tamsaek_log / tamsaek_error MSG  messages on stderr; tamsaek_fail MSG also returns 1
# Sourcing installs EXIT/INT/TERM/HUP traps once the first clean-up is registered.
# Call the functions as plain commands under 'set -e' (as ./test does): bash ignores
# errexit inside a function called from 'if' or '||'.
#
# Environment:
#   TAMSAEK_WINEPREFIX  Wine prefix (default: <repo>/build/wineprefix)
#   TAMSAEK_WINE_ARCH   win32 or win64 (default: win32 where the host can execute 32-bit code)
#   TAMSAEK_JOBS        parallel build jobs (default: 2)
#   TAMSAEK_FUZZ_SECONDS  how long ctest runs each fuzz target of the host build (default: 20)

TAMSAEK_ROOT="$(cd -- "$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")/.." && pwd)"
TAMSAEK_WINE_RUN="$TAMSAEK_ROOT/scripts/wine-run"
# Bump when the prefix set-up below changes: outdated prefixes are then rebuilt.
TAMSAEK_PREFIX_VERSION=1
TAMSAEK_PREFIX_STAMP=".tamsaek-prefix-stamp"
TAMSAEK_PACKAGES=(
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 cmake googletest
    wine wine32:i386 wine64
    xvfb xdotool imagemagick fonts-nanum locales x11-utils
    clang libclang-rt-14-dev
)
# Face names that programs ask for and that must draw Hangul.
TAMSAEK_FONT_REPLACEMENTS=("MS Sans Serif" "Gulim" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2")
TAMSAEK_HANGUL_FONT="NanumGothic"

tamsaek_log() { printf '[tamsaek] %s\n' "$*" >&2; }
tamsaek_error() { printf '[tamsaek] error: %s\n' "$*" >&2; }
# Prints the error and returns 1, which ends a function or script running with set -e.
tamsaek_fail() { tamsaek_error "$@"; return 1; }

# ---------------------------------------------------------------- clean-up on exit

TAMSAEK_CLEANUP=()

_tamsaek_run_cleanup() {
    local i
    for ((i = ${#TAMSAEK_CLEANUP[@]} - 1; i >= 0; i--)); do
        eval "${TAMSAEK_CLEANUP[i]}" || true
    done
    TAMSAEK_CLEANUP=()
}

tamsaek_on_exit() {
    local cmd
    if [[ -z "${_TAMSAEK_TRAPS_SET:-}" ]]; then
        trap _tamsaek_run_cleanup EXIT
        trap 'exit 129' HUP
        trap 'exit 130' INT
        trap 'exit 143' TERM
        _TAMSAEK_TRAPS_SET=1
    fi
    printf -v cmd '%q ' "$@"
    TAMSAEK_CLEANUP+=("$cmd")
}

# ---------------------------------------------------------------- packages

_tamsaek_have_pkg() {
    [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == installed ]]
}

_tamsaek_have_ko_locale() {
    locale -a 2>/dev/null | grep -qiE '^ko_KR\.utf-?8$'
}

tamsaek_install_deps() (
    set -euo pipefail
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        local cmd missing=()
        for cmd in i686-w64-mingw32-g++-posix cmake wine wineserver Xvfb xdotool import xdpyinfo clang++; do
            command -v "$cmd" >/dev/null 2>&1 || missing+=("$cmd")
        done
        if ((${#missing[@]})); then
            tamsaek_fail "not a Debian/Ubuntu system, and these commands are missing: ${missing[*]}"
        fi
        _tamsaek_have_ko_locale || tamsaek_fail "the ko_KR.UTF-8 locale is missing: generate it"
        return 0
    fi

    local -a sudo=()
    if [[ "$(id -u)" -ne 0 ]]; then
        command -v sudo >/dev/null 2>&1 || tamsaek_fail "not root and no sudo: cannot install packages"
        sudo=(sudo)
    fi
    local -a apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=600)

    local need_update=0
    if [[ "$(dpkg --print-architecture)" == amd64 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        tamsaek_log "adding the i386 architecture (for wine32)"
        "${sudo[@]}" dpkg --add-architecture i386
        need_update=1
    fi

    local pkg missing=()
    for pkg in "${TAMSAEK_PACKAGES[@]}"; do
        _tamsaek_have_pkg "$pkg" || missing+=("$pkg")
    done
    if ((${#missing[@]})); then
        tamsaek_log "installing: ${missing[*]}"
        "${apt[@]}" update
        "${apt[@]}" install "${missing[@]}"
    elif ((need_update)); then
        "${apt[@]}" update
    fi

    if ! _tamsaek_have_ko_locale; then
        tamsaek_log "generating the ko_KR.UTF-8 locale"
        if [[ -f /etc/locale.gen ]]; then
            if grep -qE '^[#[:space:]]*ko_KR\.UTF-8[[:space:]]+UTF-8' /etc/locale.gen; then
                "${sudo[@]}" sed -i -E 's/^[#[:space:]]*(ko_KR\.UTF-8[[:space:]]+UTF-8)/\1/' /etc/locale.gen
            else
                echo 'ko_KR.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
            fi
            "${sudo[@]}" locale-gen
        else
            "${sudo[@]}" locale-gen ko_KR.UTF-8
        fi
        _tamsaek_have_ko_locale || tamsaek_fail "ko_KR.UTF-8 is still missing from 'locale -a'"
    fi
)

# ---------------------------------------------------------------- Wine architecture

# Some hosts (e.g. VMs that run 64-bit user code only) refuse to execute any 32-bit
# x86 code: then no Wine can run a PE32 program, and the runnable build is 64-bit.
tamsaek_arch() {
    case "${TAMSAEK_WINE_ARCH:-}" in
        win32 | win64) echo "$TAMSAEK_WINE_ARCH"; return 0 ;;
        "") ;;
        *) tamsaek_error "TAMSAEK_WINE_ARCH must be win32 or win64, not '$TAMSAEK_WINE_ARCH'"; return 1 ;;
    esac
    if [[ -e /usr/lib/wine/wine ]]; then
        # Debian's 32-bit loader; its --version needs no prefix and no display.
        if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
    elif command -v wine >/dev/null 2>&1 && wine --version >/dev/null 2>&1; then
        echo win32
    else
        echo win64
    fi
}

tamsaek_toolchain_file() {
    case "$1" in
        win32) echo "$TAMSAEK_ROOT/cmake/toolchain-i686-w64-mingw32.cmake" ;;
        win64) echo "$TAMSAEK_ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake" ;;
        *) tamsaek_error "unknown architecture '$1'"; return 1 ;;
    esac
}

# ---------------------------------------------------------------- build

_tamsaek_abs_dir() {
    case "$1" in
        /*) echo "$1" ;;
        *) echo "$TAMSAEK_ROOT/$1" ;;
    esac
}

# tamsaek_configure_build [DIR [win32|win64]]
tamsaek_configure_build() (
    set -euo pipefail
    local dir arch toolchain cached
    dir="$(_tamsaek_abs_dir "${1:-build}")"
    arch="${2:-$(tamsaek_arch)}"
    toolchain="$(tamsaek_toolchain_file "$arch")"
    if [[ -f "$dir/CMakeCache.txt" ]]; then
        cached="$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$dir/CMakeCache.txt")"
        if [[ -z "$cached" || "$(readlink -f -- "$cached")" != "$(readlink -f -- "$toolchain")" ]]; then
            tamsaek_fail "$dir is configured with toolchain '${cached:-none}', not $toolchain: remove $dir/CMakeCache.txt (or the folder) and run again"
        fi
        return 0
    fi
    tamsaek_log "configuring $dir for $arch"
    cmake -S "$TAMSAEK_ROOT" -B "$dir" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release
)

tamsaek_build() (
    set -euo pipefail
    local dir
    dir="$(_tamsaek_abs_dir "${1:-build}")"
    cmake --build "$dir" -j "${TAMSAEK_JOBS:-2}"
)

# tamsaek_configure_host [DIR]
tamsaek_configure_host() (
    set -euo pipefail
    local dir
    dir="$(_tamsaek_abs_dir "${1:-build-host}")"
    [[ -f "$dir/CMakeCache.txt" ]] || tamsaek_log "configuring $dir for this machine (sanitizers, fuzz targets)"
    cmake -S "$TAMSAEK_ROOT/host" -B "$dir" -DCMAKE_CXX_COMPILER=clang++ \
        -DTAMSAEK_FUZZ_SECONDS="${TAMSAEK_FUZZ_SECONDS:-20}" >/dev/null
)

# ---------------------------------------------------------------- Wine prefix

tamsaek_prefix() {
    echo "${TAMSAEK_WINEPREFIX:-$TAMSAEK_ROOT/build/wineprefix}"
}

_tamsaek_wineserver() {
    WINEPREFIX="$(tamsaek_prefix)" wineserver "$@"
}

# Runs a Windows program in the prefix while it is being set up (no display needed).
_tamsaek_setup_wine() {
    TAMSAEK_PREFIX_SETUP=1 TAMSAEK_WINEPREFIX="$(tamsaek_prefix)" "$TAMSAEK_WINE_RUN" "$@"
}

_tamsaek_find_marlett() {
    local f
    for f in /usr/share/wine/fonts/marlett.ttf /usr/share/wine/wine/fonts/marlett.ttf \
        /usr/lib/wine/fonts/marlett.ttf /opt/wine-stable/share/wine/fonts/marlett.ttf; do
        [[ -f "$f" ]] && { echo "$f"; return 0; }
    done
    return 1
}

tamsaek_make_prefix() (
    set -euo pipefail
    local prefix arch want started
    prefix="$(tamsaek_prefix)"
    [[ "$prefix" == /* ]] || tamsaek_fail "TAMSAEK_WINEPREFIX must be an absolute path, not '$prefix'"
    arch="$(tamsaek_arch)"
    want="$(printf 'version=%s\narch=%s' "$TAMSAEK_PREFIX_VERSION" "$arch")"
    if [[ -f "$prefix/$TAMSAEK_PREFIX_STAMP" && "$(cat -- "$prefix/$TAMSAEK_PREFIX_STAMP")" == "$want" ]]; then
        return 0
    fi

    if [[ -e "$prefix" ]]; then
        # Delete only what is clearly a Wine prefix (or an empty folder).
        if [[ -f "$prefix/system.reg" || -d "$prefix/drive_c" || -d "$prefix/dosdevices" ]] \
            || [[ -d "$prefix" && -z "$(ls -A -- "$prefix")" ]]; then
            tamsaek_log "removing outdated Wine prefix $prefix"
            _tamsaek_wineserver -k >/dev/null 2>&1 || true
            rm -rf -- "$prefix"
        else
            tamsaek_fail "$prefix exists and is not a Wine prefix: refusing to replace it"
        fi
    fi

    started=$SECONDS
    tamsaek_log "creating the $arch Wine prefix $prefix"
    mkdir -p -- "$(dirname -- "$prefix")" "$TAMSAEK_ROOT/build/logs"
    local log="$TAMSAEK_ROOT/build/logs/wineprefix.log"
    export TAMSAEK_WINE_ARCH="$arch"
    if ! _tamsaek_setup_wine wineboot -i >"$log" 2>&1; then
        cat -- "$log" >&2
        tamsaek_fail "wineboot failed"
    fi
    _tamsaek_wineserver -w

    # The user folders are links into $HOME; a walk of C:\ must not leave the prefix.
    find "$prefix/drive_c" -type l -exec sh -c 'rm "$1" && mkdir "$1"' _ {} \;

    # Caption buttons need Marlett. Only Marlett: Wine's other fonts would take
    # "MS Sans Serif" away from the Hangul font.
    local marlett
    if marlett="$(_tamsaek_find_marlett)"; then
        cp -- "$marlett" "$prefix/drive_c/windows/Fonts/"
    else
        tamsaek_log "warning: marlett.ttf not found: caption buttons will lack their glyphs"
    fi

    # Face names programs ask for draw with the Hangul font (also when they ask
    # for ANSI_CHARSET); no window manager runs under Xvfb, so Wine draws the frames.
    local reg="$prefix/drive_c/tamsaek-setup.reg" face
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        for face in "${TAMSAEK_FONT_REPLACEMENTS[@]}"; do
            printf '"%s"="%s"\r\n' "$face" "$TAMSAEK_HANGUL_FONT"
        done
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
    } >"$reg"
    _tamsaek_setup_wine regedit /S 'C:\tamsaek-setup.reg' >>"$log" 2>&1
    _tamsaek_wineserver -w
    rm -f -- "$reg"

    # Wine saves the registry when its server ends: check the values arrived.
    if ! grep -q '^\[Software\\\\Wine\\\\Fonts\\\\Replacements\]' "$prefix/user.reg" \
        || ! grep -qF "\"MS Sans Serif\"=\"$TAMSAEK_HANGUL_FONT\"" "$prefix/user.reg" \
        || ! grep -qF '"Managed"="N"' "$prefix/user.reg"; then
        tamsaek_fail "the registry settings did not reach $prefix/user.reg (see $log)"
    fi

    printf '%s\n' "$want" >"$prefix/$TAMSAEK_PREFIX_STAMP"
    tamsaek_log "Wine prefix ready in $((SECONDS - started)) s"
)

# ---------------------------------------------------------------- display and server

_tamsaek_stop_xvfb() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Starts Xvfb on a free display when DISPLAY is unset, exports DISPLAY, and stops
# Xvfb when the shell exits.
start_display() {
    if [[ -n "${DISPLAY:-}" ]]; then
        return 0
    fi
    command -v Xvfb >/dev/null 2>&1 || { tamsaek_error "Xvfb is not installed"; return 1; }
    command -v xdpyinfo >/dev/null 2>&1 || { tamsaek_error "xdpyinfo (x11-utils) is not installed"; return 1; }
    local logdir="$TAMSAEK_ROOT/build/logs" numfile pid num="" i
    mkdir -p -- "$logdir" || return 1
    numfile="$(mktemp)" || return 1
    # -displayfd: Xvfb picks a free display number itself and writes it when ready.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" \
        </dev/null >"$logdir/xvfb.log" 2>&1 &
    pid=$!
    tamsaek_on_exit _tamsaek_stop_xvfb "$pid"
    for ((i = 0; i < 100; i++)); do
        num="$(tr -dc '0-9' <"$numfile")"
        [[ -n "$num" ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f -- "$numfile"
    if [[ -z "$num" ]]; then
        tamsaek_error "Xvfb did not start (see $logdir/xvfb.log)"
        return 1
    fi
    for ((i = 0; i < 100; i++)); do
        if xdpyinfo -display ":$num" >/dev/null 2>&1; then
            export DISPLAY=":$num"
            tamsaek_log "Xvfb running on DISPLAY=:$num"
            return 0
        fi
        sleep 0.1
    done
    tamsaek_error "Xvfb on :$num does not answer (see $logdir/xvfb.log)"
    return 1
}

# A persistent, detached server: without it every Wine start pays ~2.7 s, and
# ctest can hang on pipes inherited by a server started from a test.
start_wineserver() {
    _tamsaek_wineserver -p >/dev/null 2>&1 </dev/null || true
    tamsaek_on_exit stop_wineserver
    if ! "$TAMSAEK_WINE_RUN" cmd /c exit >/dev/null 2>&1 </dev/null; then
        tamsaek_error "Wine does not start programs in $(tamsaek_prefix)"
        return 1
    fi
}

stop_wineserver() {
    _tamsaek_wineserver -k >/dev/null 2>&1 </dev/null || true
}

# ---------------------------------------------------------------- as a command

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    set -euo pipefail
    steps=("$@")
    ((${#steps[@]})) || steps=(deps prefix)
    for step in "${steps[@]}"; do
        case "$step" in
            deps) tamsaek_install_deps ;;
            prefix) tamsaek_make_prefix ;;
            configure) tamsaek_configure_build build ;;
            build) tamsaek_configure_build build && tamsaek_build build ;;
            all) tamsaek_install_deps && tamsaek_configure_build build && tamsaek_build build && tamsaek_make_prefix ;;
            *) echo "usage: scripts/setup.sh [deps|prefix|configure|build|all]..." >&2; exit 2 ;;
        esac
    done
fi
