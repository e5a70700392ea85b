# Shared by run.sh and test.sh: set-up on a fresh Debian 12 machine, the build, the private
# Wine prefix, a virtual X display and the persistent wineserver.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QM_BUILD_DIR:-$ROOT/build}
export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

qm_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick xdotool googletest python3
  clang libclang-rt-14-dev chromium openssl osslsigncode)

# Arguments: packages only the calling script needs (the installer tools for the tests).
qm_install() {
  local missing=() p
  for p in "${qm_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

qm_build() {
  if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  fi
  cmake --build "$BUILD" -- -j"$(nproc)"
}

# Wine's services inherit any open pipe and keep it open, so Wine is always started with
# its standard streams on /dev/null or a file.
qm_prefix() {
  [ -f "$WINEPREFIX/.quillmoor-ready-2" ] && return 0
  echo "Creating the Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  wineboot --init </dev/null >"$BUILD/wineboot.log" 2>&1
  wineserver -w
  # Without a window manager, hiding a managed window waits about two seconds for one.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$BUILD/wineboot.log" 2>&1
  wineserver -w
  touch "$WINEPREFIX/.quillmoor-ready-2"
}

QM_XVFB_PID=""
qm_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  QM_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
  export DISPLAY=":$n"
}

qm_wineserver() {
  setsid wineserver -p </dev/null >/dev/null 2>&1 &
  # The first Wine process of a run brings up the prefix's services; keep it off any pipe.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

qm_stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -n "$QM_XVFB_PID" ] && kill "$QM_XVFB_PID" 2>/dev/null || true
}
