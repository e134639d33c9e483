#!/usr/bin/env bash
# The Debian package on this machine, as a new user would meet it: the package
# is built and passes Debian's package checker (lintian) without an error or a
# warning, and is installed; an ordinary user with a fresh home starts the
# installed `vetrinora` under Xvfb, in a session bus of its own as a desktop
# session has, logs in with the initial password and
# saves a set card, which lands byte for byte in that user's data folder
# (~/.local/share/Vetrinora); removing and then purging the package leaves
# that folder exactly as it was.
#   install_e2e.sh <build folder>
# Needs root (it installs a package and adds a user); otherwise it skips. The
# user and the package are removed however the test ends.
set -euo pipefail

script=$(readlink -f "$0")
here=$(dirname "$script")

if [ "${1:-}" = --inner ]; then
  # As the new user, inside Xvfb; $2 is a folder of the user's for the log.
  source "$here/lib.sh"
  program=/usr/bin/vetrinora
  program_home=$HOME
  data="$HOME/.local/share/Vetrinora"
  # Windows fill the 1280 x 1024 screen; content panels sit centred at (142, 166).
  at() { xdotool mousemove $((142 + $1)) $((166 + $2)) click 1; sleep 0.3; }

  login
  at 168 344                                   # first tile: the set catalogue
  focus_window '^ Vetrinora - Catalogo BLOKKO$'
  xdotool type --delay 20 "Galeone"; xdotool key Return
  type_text "Città"; xdotool key Return Return
  xdotool type --delay 20 "6285"; xdotool key Return
  xdotool type --delay 20 "1989"
  at 122 34                                    # cmdSalva
  expect_message "La scheda corrente è stata inserita in archivio."
  stop_program
  check_galeone_card "$data"
  cmp -s "$data/unins000.dll" /usr/share/vetrinora/unins000.dll ||
    fail "the data folder does not hold the initial credential file"
  echo "ok - the installed program opens with the initial password and saves a set card in $data"
  exit 0
fi

build=$(readlink -f "$1")
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "installing the package and adding a user need root; this test runs as $(id -un)"
for tool in cpack dpkg apt-get useradd userdel runuser xvfb-run xdotool xclip python3 \
            dbus-run-session pdffonts; do
  command -v "$tool" >/dev/null || skip "$tool is missing"
done
# The package checker is part of the test: without it the test fails.
command -v lintian >/dev/null || fail "lintian is missing (scripts/setup.sh test installs it)"
if dpkg-query -W -f='${Status}' vetrinora 2>/dev/null | grep -q 'install ok installed'; then
  skip "vetrinora is already installed on this machine; the test does not replace it"
fi

tmp=$(mktemp -d)
chmod 755 "$tmp"
user="vetrinora-e2e-$$"
installed=
user_added=
cleanup() {
  if [ -n "$user_added" ]; then
    # Whatever the user still runs (a program left open by a failed step).
    pkill -KILL -u "$user" 2>/dev/null || true
    userdel --force "$user" 2>/dev/null || echo "could not remove the user $user" >&2
  fi
  if [ -n "$installed" ]; then
    dpkg --purge vetrinora >/dev/null 2>&1 || echo "could not purge the package vetrinora" >&2
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
# An interrupted test cleans up too.
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# 1. The package, built from this build folder.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; fail "cpack could not build the package"; }
deb=$(ls "$tmp"/package/vetrinora_*.deb)
echo "ok - built $(basename "$deb")"

# 2. Debian's package checker finds no error and no warning (its remarks of
# the info level are shown, not counted).
lintian --display-info --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1 ||
  { cat "$tmp/lintian.log"; fail "lintian finds errors or warnings in the package"; }
sed -n 's/^I: /  lintian info: /p' "$tmp/lintian.log"
echo "ok - lintian finds no error and no warning"

# 3. Installed with its dependencies.
installed=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >"$tmp/apt.log" 2>&1 ||
  { cat "$tmp/apt.log"; fail "the package did not install"; }
[ -x /usr/bin/vetrinora ] && [ "$(PATH=/usr/bin:/bin command -v vetrinora)" = /usr/bin/vetrinora ] ||
  fail "the package did not put vetrinora in /usr/bin"
echo "ok - the package installs; vetrinora is on the PATH"
# The modules are installed beside each other, and the package depends on the
# libraries they link, each at the version the packaging tools computed.
for module in webcam print formats channel charts; do
  [ -f "/usr/libexec/vetrinora/vetrinora_$module.so" ] || fail "the package has no module vetrinora_$module"
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libarchive libxlsxwriter libqt6network6 libqt6charts6 libqt6multimedia6 libqt6printsupport6; do
  echo "$depends" | grep -Eq "(^|, )$library[a-z0-9]* \(>= [0-9]" ||
    fail "the package does not depend on $library at a version: $depends"
done
echo "ok - the five modules are installed and the package depends on their libraries"
# The copyright file names the licence of the fonts the manual embeds: those
# of the Liberation family, and no other.
others=$(pdffonts /usr/share/doc/vetrinora/Guida.pdf | tail -n +3 | awk '{print $1}' | sed 's/^[A-Z]\{6\}+//' |
         grep -v '^Liberation\(Sans\|Mono\)' || true)
[ -z "$others" ] || fail "the manual embeds fonts the copyright file does not name: $others"
grep -q 'Liberation Sans and Liberation Mono' /usr/share/doc/vetrinora/copyright ||
  fail "the copyright file does not name the fonts the manual embeds"
echo "ok - the manual embeds only the fonts the copyright file names"

# 4. An ordinary user with a fresh home runs it.
home="$tmp/home"
useradd --create-home --home-dir "$home" --shell /bin/sh "$user"
user_added=1
install -d -m 700 -o "$user" "$tmp/runtime"
install -d -m 755 -o "$user" "$tmp/log"
install -d -m 755 "$tmp/scripts"
install -m 755 "$script" "$here/lib.sh" "$here/records.py" "$tmp/scripts/"
# The home outside the data folder and the caches of the libraries (fonts, Mesa).
outside_data() {
  (cd "$home" && find . \( -path ./.cache -o -path ./.local/share/Vetrinora \) -prune -o -print | sort)
}
home_before=$(outside_data)
runuser -u "$user" -- env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" USER="$user" LOGNAME="$user" \
    LANG="${LANG:-C.UTF-8}" LC_ALL="${LC_ALL:-${LANG:-C.UTF-8}}" XDG_RUNTIME_DIR="$tmp/runtime" \
    dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" "$tmp/scripts/install_e2e.sh" --inner "$tmp/log" ||
  { cat "$tmp/log/out.log" 2>/dev/null; fail "the installed program did not save the card as $user"; }
data="$home/.local/share/Vetrinora"
[ "$(stat -c %U "$data/Catalogo_BLOKKO.pro")" = "$user" ] || fail "the set catalogue does not belong to $user"
written=$(comm -13 <(echo "$home_before") <(outside_data) | grep -vxF -e ./.local -e ./.local/share || true)
[ -z "$written" ] || fail "the program wrote outside its data folder: $written"
echo "ok - nothing written in the home outside the data folder"

# What the data folder holds, each file with its checksum.
snapshot() { (cd "$data" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
before=$(snapshot)
echo "$before" | grep -q ' ./Catalogo_BLOKKO.pro$' || fail "no set catalogue in $data"

# 5. Removing, then purging the package leaves the data folder as it was.
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q vetrinora >"$tmp/apt.log" 2>&1 ||
  { cat "$tmp/apt.log"; fail "the package did not remove"; }
[ ! -e /usr/bin/vetrinora ] || fail "/usr/bin/vetrinora is still there after removing the package"
[ "$(snapshot)" = "$before" ] || fail "removing the package changed the data folder"
dpkg --purge vetrinora >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; fail "the package did not purge"; }
installed=
[ "$(snapshot)" = "$before" ] || fail "purging the package changed the data folder"
echo "ok - removing and purging the package leave $user's data folder unchanged"
echo "7 passed, 0 failed"
