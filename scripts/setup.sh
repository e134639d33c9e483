#!/usr/bin/env bash
# Installs what Vetrinora needs on a Debian 12 machine (as root), then builds it.
#   scripts/setup.sh run    install, build, install Vetrinora under a prefix (/usr/local as
#                           root, ~/.local otherwise) and start the installed program, whose
#                           collection lives in ~/.local/share/Vetrinora, never in the build
#   scripts/setup.sh test   install, build and run every test
# Environment: BUILD_DIR (default build), SANITIZE=1 for an AddressSanitizer and
# UndefinedBehaviorSanitizer build, VETRINORA_TEST_LOCALE (default C.UTF-8) the
# LANG and LC_ALL under which the tests run, e.g. it_IT.UTF-8.
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac

packages=(build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libgl-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good fonts-liberation
  libarchive-dev libcsv-dev libxlsxwriter-dev libexpat1-dev libfontconfig-dev libxcb1-dev)
if [ "$mode" = test ]; then
  packages+=(xvfb xauth xdotool x11-apps xclip imagemagick poppler-utils libx11-dev python3 strace
    libreoffice-calc-nogui locales desktop-file-utils appstream dpkg-dev lintian dbus-daemon openbox)
fi
test_locale=${VETRINORA_TEST_LOCALE:-C.UTF-8}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Whether `locale -a` lists a locale; it writes "it_IT.UTF-8" as "it_IT.utf8".
has_locale() {
  local name=$1 codeset
  case "$name" in
    *.*) codeset=${name#*.}; codeset=${codeset//-/}; name="${name%%.*}.${codeset,,}" ;;
  esac
  locale -a 2>/dev/null | grep -qixF "$name"
}

if [ "$mode" = test ]; then
  # The suite runs a second time under the Italian locale (.ci/run).
  if ! has_locale it_IT.UTF-8; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "Missing locale it_IT.UTF-8 (run as root to generate it)" >&2
      exit 1
    fi
    echo "Generating the it_IT.UTF-8 locale"
    localedef -i it_IT -f UTF-8 it_IT.UTF-8
  fi
  if ! has_locale "$test_locale"; then
    echo "The test locale $test_locale is not installed (locale -a)" >&2
    exit 1
  fi
fi

cmake_args=(-S "$top" -B "$build" -G Ninja -DVETRINORA_TEST_LOCALE="$test_locale")
# SANITIZE is passed on every run, so a build folder always gets the build it
# was asked for: SANITIZE=1 on a folder configured without it reconfigures it
# with the sanitizers (and says so), never runs the plain build unnoticed.
if [ "${SANITIZE:-0}" = 1 ]; then sanitize=ON; else sanitize=OFF; fi
if [ -f "$build/CMakeCache.txt" ]; then
  was=$(sed -n 's/^VETRINORA_SANITIZE:BOOL=//p' "$build/CMakeCache.txt")
  if [ -n "$was" ] && [ "$was" != "$sanitize" ]; then
    echo "Reconfiguring $build with VETRINORA_SANITIZE=$sanitize (it was $was)"
  fi
elif [ "$sanitize" = ON ]; then
  cmake_args+=(-DCMAKE_BUILD_TYPE=Debug)
else
  cmake_args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake_args+=(-DVETRINORA_SANITIZE=$sanitize)
cmake "${cmake_args[@]}" >/dev/null
cmake --build "$build"

case "$mode" in
  run)
    # The installed program keeps the collection in the user's data folder,
    # so deleting the build folder never deletes data.
    if [ "$(id -u)" -eq 0 ]; then prefix=/usr/local; else prefix="$HOME/.local"; fi
    cmake --install "$build" --prefix "$prefix" >/dev/null
    # A collection kept in the build's program folder by an earlier version of
    # this script is copied once into the data folder, password included.
    data="${XDG_DATA_HOME:-$HOME/.local/share}/Vetrinora"
    old="$build/Vetrinora"
    if [ ! -e "$data" ] && { compgen -G "$old/*.pro" || compgen -G "$old/*.moc"; } >/dev/null; then
      echo "Copying the collection of $old into $data"
      mkdir -p "$data"
      for f in "$old"/*.pro "$old"/*.moc "$old"/*.xls "$old"/unins000.dll \
               "$old"/Schedario "$old"/Foto_MOC "$old"/Documenti_Allegati; do
        if [ -e "$f" ]; then cp -a "$f" "$data/"; fi
      done
    fi
    echo "Vetrinora installed in $prefix; the collection is in $data"
    exec "$prefix/bin/vetrinora"
    ;;
  test)
    if [ "${SANITIZE:-0}" = 1 ]; then
      export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
      export LSAN_OPTIONS="suppressions=$top/tests/support/lsan.supp:print_suppressions=0"
      export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    fi
    cd "$build"
    ctest --output-on-failure -j"$(nproc)"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
