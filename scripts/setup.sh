#!/usr/bin/env bash
# Build, run and test support for tamsaek on Linux: the mingw-w64 cross build,
# the project's Wine prefix, Xvfb and the Wine server.
#
# As a command (default steps: deps prefix):
#   scripts/setup.sh [deps|lanes|prefix|configure|build|all]...
# As a library (./test, ./run and ./bench do this):
#   source scripts/setup.sh
#   tamsaek_install_deps             Debian/Ubuntu packages and the ko_KR.UTF-8 locale, when missing
#   tamsaek_decide_lanes             decides, once, which lanes run here (see "lanes" below) and
#                                    sets up the emulated 32-bit lane where it must and can
#   tamsaek_arch                     the prefix's architecture: TAMSAEK_WINE_ARCH, else the first lane
#   tamsaek_build_dir ARCH           build/ for win32 (the PE32 we ship), build-win64/ for win64
#   tamsaek_configure_build ARCH     configures the lane's build folder, once
#   tamsaek_build ARCH [ARGS...]     builds it (ARGS go to cmake --build)
#   tamsaek_configure_host [DIR]     configures DIR (default build-host/): the platform-free logic
#                                    for this machine with clang, under the sanitizers, and its fuzz targets
#   tamsaek_build_with_clang [DIR]   builds the program with Clang for the 64-bit Windows target
#                                    (mingw-w64 headers and libraries), warnings as errors, in DIR
#                                    (default build-clang/)
#   tamsaek_prefix                   prints the Wine prefix path (inside the lane's build folder)
#   tamsaek_make_prefix              creates and sets up the prefix when missing or outdated
#   start_display                    starts Xvfb when DISPLAY is unset (stopped on exit)
#   start_wineserver                 starts a persistent Wine server and warms it (stopped on exit)
#   stop_wineserver [PREFIX]         ends the Wine server and every program in the prefix
#   tamsaek_on_exit CMD [ARGS...]    runs CMD when the shell exits (last registered runs first)
#   tamsaek_log / tamsaek_error MSG  messages on stderr; tamsaek_fail MSG also returns 1
# Sourcing installs EXIT/INT/TERM/HUP traps once the first clean-up is registered.
# Call the functions as plain commands under 'set -e' (as ./test does): bash ignores
# errexit inside a function called from 'if' or '||'.
#
# Environment:
#   TAMSAEK_LANE        auto (default), win32 or win64: forces the lane decision
#   TAMSAEK_WINE_ARCH   win32 or win64: the lane being run (set per lane by ./test and ctest)
#   TAMSAEK_WINEPREFIX  Wine prefix (default: the lane's build folder/wineprefix)
#   TAMSAEK_JOBS        parallel build jobs (default: 2)
#   TAMSAEK_FUZZ_SECONDS  how long ctest runs each fuzz target of the host build (default: 20)

TAMSAEK_ROOT="$(cd -- "$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")/.." && pwd)"
TAMSAEK_WINE_RUN="$TAMSAEK_ROOT/scripts/wine-run"
# Bump when the prefix set-up below changes: outdated prefixes are then rebuilt.
TAMSAEK_PREFIX_VERSION=3
TAMSAEK_PREFIX_STAMP=".tamsaek-prefix-stamp"
TAMSAEK_PACKAGES=(
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 cmake googletest
    wine wine32:i386 wine64
    xvfb xdotool imagemagick fonts-nanum fonts-wine locales x11-utils file
    clang libclang-rt-14-dev lld llvm clang-format
    python3-pefile osslsigncode openssl unzip
)
# Installed without what they recommend: diffoscope's recommends are hundreds of
# packages (R, ffmpeg, Java...), and the release's files need none of them.
TAMSAEK_PACKAGES_NO_RECOMMENDS=(diffoscope-minimal)

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

# A mirror caught mid-sync fails one index of many ("File has unexpected
# size"): try again a little later, and where it still fails, install from
# the indexes that did arrive; a package truly missing fails the install.
_tamsaek_apt_update() {
    local attempt
    for attempt in 1 2 3; do
        "$@" update && return 0
        tamsaek_log "apt-get update failed (attempt $attempt of 3)"
        ((attempt == 3)) || sleep $((attempt * 15))
    done
    tamsaek_log "going on with the package indexes that could be read"
}

# Installs APT_COMMAND... -- PACKAGES... Where one architecture's index of
# the security archive could not be read (a mirror mid-sync), a library that
# both architectures need would come in two versions, the newer for amd64
# only, and apt refuses the pair: then the release's own archive is
# preferred, which holds one version for both.
_tamsaek_apt_install() {
    local -a apt=() packages=()
    while [[ "$1" != -- ]]; do apt+=("$1"); shift; done
    shift
    packages=("$@")
    "${apt[@]}" install "${packages[@]}" && return 0
    local codename
    codename="$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")"
    [[ -n "$codename" ]] || return 1
    tamsaek_log "the install failed: trying again from $codename's own archive first"
    "${apt[@]}" -t "$codename" install "${packages[@]}"
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

    local pkg missing=() bare=()
    for pkg in "${TAMSAEK_PACKAGES[@]}"; do
        _tamsaek_have_pkg "$pkg" || missing+=("$pkg")
    done
    for pkg in "${TAMSAEK_PACKAGES_NO_RECOMMENDS[@]}"; do
        _tamsaek_have_pkg "$pkg" || bare+=("$pkg")
    done
    if ((${#missing[@]} + ${#bare[@]})); then
        tamsaek_log "installing: ${missing[*]} ${bare[*]}"
        _tamsaek_apt_update "${apt[@]}"
        ((${#missing[@]} == 0)) || _tamsaek_apt_install "${apt[@]}" -- "${missing[@]}"
        ((${#bare[@]} == 0)) || _tamsaek_apt_install "${apt[@]}" --no-install-recommends -- "${bare[@]}"
    elif ((need_update)); then
        _tamsaek_apt_update "${apt[@]}"
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

# ---------------------------------------------------------------- lanes

# The PE32 is what users get, so its tests run wherever 32-bit x86 code can be
# made to run: natively, or through qemu's user-mode emulation registered with
# binfmt_misc where the kernel runs 64-bit code only. The PE32+ build of the same
# sources always runs as well: a second lane that keeps the code 64-bit clean.
#
# tamsaek_decide_lanes decides once and exports what it decided, so that every
# script and fixture started below follows the same decision:
#   TAMSAEK_LANES      "win32 win64", or "win64" where no 32-bit code can run
#   TAMSAEK_LANE_WHY   how 32-bit code runs here, or why it does not
# TAMSAEK_LANE forces it: auto (the default), win32 (fail unless 32-bit code can
# be made to run), win64 (the 64-bit lane alone; nothing on the machine changes).
# Call it in the calling shell itself, not in $(...): the exports must stay.

TAMSAEK_BINFMT=/proc/sys/fs/binfmt_misc
TAMSAEK_QEMU_HANDLER=qemu-i386
# qemu's own registration for i386 ELF executables: magic and mask.
TAMSAEK_I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
TAMSAEK_I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# Older qemu cannot start Wine ("failed to map the shared user data").
TAMSAEK_QEMU_MIN_MAJOR=8
TAMSAEK_BACKPORTS_SOURCE=/etc/apt/sources.list.d/tamsaek-backports.sources
TAMSAEK_BACKPORTS_PIN=/etc/apt/preferences.d/tamsaek-backports

# Debian's 32-bit Wine loader runs: 32-bit code executes here, one way or another.
_tamsaek_runs_i386() {
    [[ -x /usr/lib/wine/wine ]] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Prints the name of an enabled binfmt_misc handler for i386 ELF executables.
_tamsaek_i386_handler() {
    local entry magic
    [[ -r "$TAMSAEK_BINFMT/status" ]] || return 1
    for entry in "$TAMSAEK_BINFMT"/*; do
        [[ -f "$entry" && "${entry##*/}" != register && "${entry##*/}" != status ]] || continue
        [[ "$(head -n 1 -- "$entry" 2>/dev/null)" == enabled ]] || continue
        magic="$(sed -n 's/^magic //p' -- "$entry" 2>/dev/null)"
        # ELF, 32-bit, little-endian, and e_machine 3 (i386) at byte 18.
        if [[ "${magic:0:12}" == 7f454c460101 && "${magic:36:4}" == 0300 ]]; then
            echo "${entry##*/}"
            return 0
        fi
    done
    return 1
}

_tamsaek_handler_interpreter() {
    sed -n 's/^interpreter //p' -- "$TAMSAEK_BINFMT/$1" 2>/dev/null
}

# Prints the major version of a qemu user-mode program, or nothing.
_tamsaek_qemu_major() {
    "$1" --version 2>/dev/null | sed -n '1s/.*version \([0-9][0-9]*\)\..*/\1/p'
}

# The URI of the configured Debian mirror, so that the one extra suite comes from
# the same place as the rest.
_tamsaek_debian_mirror() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -f "$f" && "$f" != "$TAMSAEK_BACKPORTS_SOURCE" ]] || continue
        awk '/^URIs:/ { uri = $2 } /^Suites:/ && uri != "" { for (i = 2; i <= NF; i++) if ($i == "bookworm") { print uri; exit } }
             /^$/ { uri = "" }' "$f"
    done | head -n 1 | grep . && return 0
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
        | awk '$1 == "deb" && $3 == "bookworm" { for (i = 2; i < NF; i++) if ($i !~ /^\[/) { print $i; exit } }' \
        | head -n 1 | grep .
}

# Installs a qemu-user whose qemu-i386 can run Wine: Debian 12 ships 7.2, so the
# package alone comes from bookworm-backports, pinned low so that nothing else moves.
_tamsaek_install_qemu() (
    set -euo pipefail
    local -a apt=(env DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=600)
    local codename mirror candidate
    codename="$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")"
    candidate="$(apt-cache policy qemu-user 2>/dev/null | sed -n 's/^ *Candidate: \(1:\)\{0,1\}\([0-9]*\)\..*/\2/p')"
    if [[ -n "$candidate" && "$candidate" -ge "$TAMSAEK_QEMU_MIN_MAJOR" ]]; then
        tamsaek_log "installing qemu-user $candidate from the configured suites"
        "${apt[@]}" install --no-install-recommends qemu-user
        return 0
    fi
    [[ "$codename" == bookworm ]] || tamsaek_fail "no qemu-user of version $TAMSAEK_QEMU_MIN_MAJOR or newer is available for '$codename'"
    mirror="$(_tamsaek_debian_mirror)" || tamsaek_fail "no Debian mirror for bookworm found in the apt sources"
    tamsaek_log "adding bookworm-backports (pinned to priority 1) for qemu-user: $TAMSAEK_BACKPORTS_SOURCE"
    printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$mirror" >"$TAMSAEK_BACKPORTS_SOURCE"
    printf '# Only what is asked for by name comes from backports.\nPackage: *\nPin: release n=bookworm-backports\nPin-Priority: 1\n' \
        >"$TAMSAEK_BACKPORTS_PIN"
    "${apt[@]}" update
    # No recommends: qemu-user-binfmt would register handlers for every architecture.
    "${apt[@]}" install --no-install-recommends qemu-user/bookworm-backports
)

# Sets up the emulated lane: qemu-user and, unless one exists, the i386 handler.
# Prints why it could not, and fails, where it cannot.
_tamsaek_setup_emulation() (
    set -euo pipefail
    if [[ "$(id -u)" -ne 0 ]]; then
        echo "registering an emulator for 32-bit code needs root"; return 1
    fi
    if [[ ! -e "$TAMSAEK_BINFMT/register" ]]; then
        grep -qw binfmt_misc /proc/filesystems 2>/dev/null || { echo "the kernel has no binfmt_misc"; return 1; }
        mount -t binfmt_misc binfmt_misc "$TAMSAEK_BINFMT" >/dev/null 2>&1 \
            || { echo "binfmt_misc cannot be mounted on $TAMSAEK_BINFMT"; return 1; }
    fi
    local handler qemu major
    if handler="$(_tamsaek_i386_handler)"; then
        # Never replace or remove a handler someone else registered.
        echo "the i386 handler '$handler' is registered already but does not run Wine's 32-bit loader"
        return 1
    fi
    if [[ -e "$TAMSAEK_BINFMT/$TAMSAEK_QEMU_HANDLER" ]]; then
        echo "a disabled handler '$TAMSAEK_QEMU_HANDLER' is registered: enable it or remove it"; return 1
    fi
    qemu="$(command -v qemu-i386 || true)"
    major="${qemu:+$(_tamsaek_qemu_major "$qemu")}"
    if [[ -z "$major" || "$major" -lt "$TAMSAEK_QEMU_MIN_MAJOR" ]]; then
        _tamsaek_install_qemu >&2 || { echo "qemu-user $TAMSAEK_QEMU_MIN_MAJOR or newer could not be installed"; return 1; }
        qemu="$(command -v qemu-i386 || true)"
        major="${qemu:+$(_tamsaek_qemu_major "$qemu")}"
        [[ -n "$major" && "$major" -ge "$TAMSAEK_QEMU_MIN_MAJOR" ]] \
            || { echo "qemu-i386 ${major:-missing} is older than $TAMSAEK_QEMU_MIN_MAJOR"; return 1; }
    fi
    # F: the kernel opens the emulator now, so it serves in every mount namespace.
    printf ':%s:M::%s:%s:%s:F' "$TAMSAEK_QEMU_HANDLER" "$TAMSAEK_I386_MAGIC" "$TAMSAEK_I386_MASK" \
        "$(readlink -f -- "$qemu")" >"$TAMSAEK_BINFMT/register" 2>/dev/null \
        || { echo "the kernel refused the i386 handler"; return 1; }
    tamsaek_log "registered the binfmt_misc handler '$TAMSAEK_QEMU_HANDLER' for i386 executables: $qemu"
)

_tamsaek_emulation_text() {
    local handler interpreter major
    handler="$(_tamsaek_i386_handler)" || { echo "natively"; return 0; }
    interpreter="$(_tamsaek_handler_interpreter "$handler")"
    major="$(_tamsaek_qemu_major "$interpreter")"
    echo "emulated by ${interpreter:-?}${major:+ (qemu $major)} through the binfmt_misc handler '$handler'"
}

tamsaek_decide_lanes() {
    if [[ -n "${TAMSAEK_LANES:-}" ]]; then
        return 0
    fi
    local lane="${TAMSAEK_LANE:-auto}" why="" failure
    case "$lane" in
        auto | win32 | win64) ;;
        *) tamsaek_error "TAMSAEK_LANE must be auto, win32 or win64, not '$lane'"; return 1 ;;
    esac
    if [[ "$lane" == win64 ]]; then
        TAMSAEK_LANES=win64
        why="TAMSAEK_LANE=win64: the 64-bit lane alone"
    elif _tamsaek_runs_i386; then
        TAMSAEK_LANES="win32 win64"
        why="32-bit code runs $(_tamsaek_emulation_text)"
    elif failure="$(_tamsaek_setup_emulation)" && _tamsaek_runs_i386; then
        TAMSAEK_LANES="win32 win64"
        why="32-bit code runs $(_tamsaek_emulation_text)"
    else
        [[ -n "$failure" ]] || failure="Wine's 32-bit loader still does not start"
        if [[ "$lane" == win32 ]]; then
            tamsaek_error "TAMSAEK_LANE=win32, but this machine runs no 32-bit code: $failure"
            return 1
        fi
        TAMSAEK_LANES=win64
        why="this machine runs no 32-bit code and $failure"
        tamsaek_log "warning: only the 64-bit lane runs; the PE32 is built but not tested: $why"
    fi
    TAMSAEK_LANE_WHY="$why"
    export TAMSAEK_LANES TAMSAEK_LANE_WHY
    tamsaek_log "lanes: $TAMSAEK_LANES ($why)"
}

# The architecture of the Wine prefix at hand: TAMSAEK_WINE_ARCH where a lane is
# being run, else the first lane (the PE32 wherever it can run).
tamsaek_arch() {
    case "${TAMSAEK_WINE_ARCH:-}" in
        win32 | win64) echo "$TAMSAEK_WINE_ARCH"; return 0 ;;
        "") ;;
        *) tamsaek_error "TAMSAEK_WINE_ARCH must be win32 or win64, not '$TAMSAEK_WINE_ARCH'"; return 1 ;;
    esac
    if [[ -z "${TAMSAEK_LANES:-}" ]]; then
        tamsaek_error "no lane decided: call tamsaek_decide_lanes first, or set TAMSAEK_WINE_ARCH"
        return 1
    fi
    echo "${TAMSAEK_LANES%% *}"
}

# Each lane builds in a folder of its own; its Wine prefix lives inside it.
tamsaek_build_dir() {
    case "$1" in
        win32) echo "$TAMSAEK_ROOT/build" ;;
        win64) echo "$TAMSAEK_ROOT/build-win64" ;;
        *) tamsaek_error "unknown architecture '$1'"; return 1 ;;
    esac
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

# tamsaek_configure_build ARCH: configures the lane's build folder, once.
tamsaek_configure_build() (
    set -euo pipefail
    local arch="$1" dir toolchain cached
    dir="$(tamsaek_build_dir "$arch")"
    toolchain="$(tamsaek_toolchain_file "$arch")"
    if [[ -f "$dir/CMakeCache.txt" ]]; then
        cached="$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$dir/CMakeCache.txt")"
        if [[ -n "$cached" && "$(readlink -f -- "$cached")" == "$(readlink -f -- "$toolchain")" ]]; then
            return 0
        fi
        # The folder once held the other architecture's build.
        tamsaek_log "reconfiguring $dir for $arch (it was configured with '${cached:-no toolchain}')"
        rm -rf -- "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    fi
    tamsaek_log "configuring $dir for $arch"
    cmake -S "$TAMSAEK_ROOT" -B "$dir" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release
)

# tamsaek_build ARCH [CMAKE_BUILD_ARGS...]
tamsaek_build() (
    set -euo pipefail
    local dir
    dir="$(tamsaek_build_dir "$1")"
    shift
    cmake --build "$dir" -j "${TAMSAEK_JOBS:-2}" "$@"
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

# tamsaek_build_with_clang [DIR]
tamsaek_build_with_clang() (
    set -euo pipefail
    local dir
    dir="$(_tamsaek_abs_dir "${1:-build-clang}")"
    [[ -f "$dir/CMakeCache.txt" ]] || tamsaek_log "configuring $dir: the program with Clang for x86_64-w64-mingw32"
    cmake -S "$TAMSAEK_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$TAMSAEK_ROOT/cmake/toolchain-clang-x86_64-w64-mingw32.cmake" \
        -DBUILD_TESTING=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
    cmake --build "$dir" -j "${TAMSAEK_JOBS:-2}" --target tamsaek tamsaek_bench
)

# ---------------------------------------------------------------- Wine prefix

tamsaek_prefix() {
    if [[ -n "${TAMSAEK_WINEPREFIX:-}" ]]; then
        echo "$TAMSAEK_WINEPREFIX"
    else
        local arch
        arch="$(tamsaek_arch)" && echo "$(tamsaek_build_dir "$arch")/wineprefix"
    fi
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
    local log
    log="$(dirname -- "$prefix")/logs/${prefix##*/}.log"
    mkdir -p -- "$(dirname -- "$log")"
    export TAMSAEK_WINE_ARCH="$arch"
    if ! _tamsaek_setup_wine wineboot -i >"$log" 2>&1; then
        cat -- "$log" >&2
        tamsaek_fail "wineboot failed"
    fi
    _tamsaek_wineserver -w

    # The user folders are links into $HOME; a walk of C:\ must not leave the prefix.
    find "$prefix/drive_c" -type l -exec sh -c 'rm "$1" && mkdir "$1"' _ {} \;

    # Wine's own fonts, as a current Wine loads them and as Windows has its own:
    # then "MS Sans Serif" is a face without Hangul, and the program must cope.
    # Marlett among them gives the caption buttons their glyphs.
    local marlett
    marlett="$(_tamsaek_find_marlett)" || tamsaek_fail "Wine's fonts are not installed (fonts-wine)"
    cp -- "$(dirname -- "$marlett")"/*.ttf "$(dirname -- "$marlett")"/*.fon "$prefix/drive_c/windows/Fonts/"

    # No window manager runs under Xvfb, so Wine draws the frames.
    local reg="$prefix/drive_c/tamsaek-setup.reg"
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n' >"$reg"
    _tamsaek_setup_wine regedit /S 'C:\tamsaek-setup.reg' >>"$log" 2>&1
    _tamsaek_wineserver -w
    rm -f -- "$reg"

    # Wine saves the registry when its server ends: check the value arrived.
    if ! grep -qF '"Managed"="N"' "$prefix/user.reg"; then
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

# A persistent, detached server for the prefix at hand: without it every Wine
# start pays ~2.7 s, and ctest can hang on pipes inherited by a server started
# from a test. Stopped when the shell exits, or earlier by stop_wineserver.
start_wineserver() {
    local prefix
    prefix="$(tamsaek_prefix)" || return 1
    WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 </dev/null || true
    tamsaek_on_exit stop_wineserver "$prefix"
    if ! "$TAMSAEK_WINE_RUN" cmd /c exit >/dev/null 2>&1 </dev/null; then
        tamsaek_error "Wine does not start programs in $prefix"
        return 1
    fi
}

# stop_wineserver [PREFIX]: ends the Wine server and every program in the prefix.
stop_wineserver() {
    local prefix="${1:-}"
    [[ -n "$prefix" ]] || prefix="$(tamsaek_prefix)" || return 0
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 </dev/null || true
}

# ---------------------------------------------------------------- as a command

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    set -euo pipefail
    steps=("$@")
    ((${#steps[@]})) || steps=(deps prefix)
    for step in "${steps[@]}"; do
        case "$step" in
            deps) tamsaek_install_deps ;;
            lanes) tamsaek_decide_lanes ;;
            prefix) tamsaek_decide_lanes && tamsaek_make_prefix ;;
            configure) tamsaek_decide_lanes && tamsaek_configure_build "$(tamsaek_arch)" ;;
            build) tamsaek_decide_lanes && tamsaek_configure_build "$(tamsaek_arch)" && tamsaek_build "$(tamsaek_arch)" ;;
            all) tamsaek_install_deps && tamsaek_decide_lanes && tamsaek_configure_build "$(tamsaek_arch)" \
                && tamsaek_build "$(tamsaek_arch)" && tamsaek_make_prefix ;;
            *) echo "usage: scripts/setup.sh [deps|lanes|prefix|configure|build|all]..." >&2; exit 2 ;;
        esac
    done
fi
