# Shared by the tools/ scripts: package installation, builds, the Wine prefix and the display.
# Source it; it expects $ROOT to be the checkout's top folder.

# Every Debian package the build, the tests and the tools need.
BLANKO_PACKAGES=(
  cmake ninja-build googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine fonts-liberation2
  xvfb xauth x11-apps x11-utils imagemagick xdotool
  fp-utils
)

log() { printf '[%s] %s\n' "$(basename "$0")" "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever is missing; apt-get runs only when something is.
ensure_packages() {
  local missing=() p
  for p in "${BLANKO_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# build_config <arch> [cmake args...]: configures build/<arch> (once) and builds it.
build_arch() {
  local arch=$1; shift
  local dir="$ROOT/build/$arch"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" "$@" >/dev/null
  fi
  cmake --build "$dir" -- -j"$(nproc)"
}

# The display of a build folder: a number derived from its path, so two checkouts do not meet.
display_for() {
  local n=$(( $(printf '%s' "$1" | cksum | cut -d' ' -f1) % 700 + 100 ))
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

XVFB_PID=
# start_xvfb <build dir>: a virtual display for this build, recorded in <build>/wine/display.
start_xvfb() {
  local w="$1/wine" n
  mkdir -p "$w"
  n=$(display_for "$1")
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$w/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  echo ":$n" >"$w/display"
  export DISPLAY=":$n"
}

stop_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
  return 0
}

# wine_env <build dir>: the environment wine-run sets, for the wineserver and reg calls here.
wine_env() {
  local w="$1/wine"
  export WINEPREFIX="$w/prefix" HOME="$w/home" XDG_DATA_HOME="$w/home/.local/share"
  export XDG_CONFIG_HOME="$w/home/.config" XDG_CACHE_HOME="$w/home/.cache"
  export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$HOME" "$XDG_DATA_HOME"
}

# prepare_prefix <build dir>: creates the build's Wine prefix once and applies the settings a
# test run needs; starts a wineserver that stays up until stop_wine.
prepare_prefix() {
  local b=$1 run="$1/wine-run"
  ( wine_env "$b"
    if [ ! -f "$WINEPREFIX/.blanko-ready" ]; then
      log "creating the Wine prefix in $WINEPREFIX"
      rm -rf "$WINEPREFIX"
      "$run" wineboot -i </dev/null >/dev/null 2>&1
      /usr/lib/wine/wineserver64 -w
      "$run" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
      "$run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /d Tahoma /f
      "$run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f
      "$run" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f
      "$run" winecfg /v win10
      /usr/lib/wine/wineserver64 -w
      touch "$WINEPREFIX/.blanko-ready"
    fi
    # Debian's Wine does not load the fonts it ships (fonts-wine); without Tahoma the "Segoe UI"
    # replacement is skipped and GDI+ finds neither. Put them where every Wine start looks.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    for f in /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf /usr/share/wine/fonts/marlett.ttf; do
      if [ -f "$f" ]; then cp -n "$f" "$WINEPREFIX/drive_c/windows/Fonts/" || true; fi
    done
    # Windows not managed by a window manager (there is none on the virtual display): otherwise
    # Wine waits 2 s for a window manager at every hidden window.
    if [ ! -f "$WINEPREFIX/.blanko-unmanaged" ]; then
      "$run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
      /usr/lib/wine/wineserver64 -w
      touch "$WINEPREFIX/.blanko-unmanaged"
    fi ) >/dev/null 2>&1
  start_wine "$b"
}

start_wine() {
  ( wine_env "$1"
    /usr/lib/wine/wineserver64 -p
    "$1/wine-run" wineboot </dev/null >/dev/null 2>&1 )
}

stop_wine() {
  ( wine_env "$1"; /usr/lib/wine/wineserver64 -k 2>/dev/null; true )
}
