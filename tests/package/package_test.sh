#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks it as a user meets it: its files,
# desktop entry, file types, manual pages and dependencies; then, where this test may
# install packages (root or password-less sudo), installs it, starts the installed programs
# and removes it again.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# --- build the package ---
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/kalvor_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one kalvor_*.deb, found: ${debs[*]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
[[ $(basename "$deb") == "kalvor_${version}_${arch}.deb" ]] || fail "file name $(basename "$deb")"
[[ $(dpkg-deb -f "$deb" Package) == kalvor ]] || fail "package name"

# --- contents ---
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for f in /usr/bin/kalvor /usr/bin/kalvorctl /usr/bin/kalvor-devsim \
         /usr/share/applications/kalvor.desktop /usr/share/mime/packages/kalvor.xml \
         /usr/share/icons/hicolor/scalable/apps/kalvor.svg \
         /usr/share/icons/hicolor/16x16/apps/kalvor.png /usr/share/icons/hicolor/48x48/apps/kalvor.png \
         /usr/share/icons/hicolor/256x256/apps/kalvor.png \
         /usr/share/icons/hicolor/48x48/mimetypes/application-x-kalvor-project.png \
         /usr/share/man/man1/kalvor.1.gz /usr/share/man/man1/kalvorctl.1.gz \
         /usr/share/man/man1/kalvor-devsim.1.gz /usr/share/doc/kalvor/copyright; do
    grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
if [[ -f "$(dirname "$0")/../../docs/manual/index.html" ]]; then
    grep -qx /usr/share/doc/kalvor/manual/index.html "$work/files" || fail "the package lacks the manual"
fi
if grep -E '^/usr/(include|lib/.*\.a$)' "$work/files"; then fail "development files in the package"; fi

root="$work/root"
dpkg-deb -x "$deb" "$root"
for exe in kalvor kalvorctl kalvor-devsim; do
    file -b "$root/usr/bin/$exe" | grep -q 'stripped' || fail "$exe is not an executable"
    file -b "$root/usr/bin/$exe" | grep -q 'not stripped' && fail "$exe is not stripped"
done

# --- desktop entry and file types ---
desktop-file-validate "$root/usr/share/applications/kalvor.desktop" || fail "desktop entry"
grep -qx 'Exec=kalvor %f' "$root/usr/share/applications/kalvor.desktop" || fail "Exec line"
xmllint --noout "$root/usr/share/mime/packages/kalvor.xml" || fail "MIME XML is not well-formed"
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/kalvor.xml" "$work/mime/packages/"
XDG_DATA_DIRS="$work" XDG_DATA_HOME="$work" update-mime-database "$work/mime" 2>"$work/mime.log" || { cat "$work/mime.log"; fail "update-mime-database"; }
[[ -s $work/mime.log ]] && { cat "$work/mime.log"; fail "update-mime-database warned"; }
for pair in zrp:project-contour kvp:project-vision zrl:partlist kvl:partlist zrt:teachdata \
            typ:teachdata kvc:configuration; do
    grep -q "application/x-kalvor-${pair#*:}:\*\.${pair%%:*}$" "$work/mime/globs" ||
        fail "*.${pair%%:*} is not application/x-kalvor-${pair#*:}"
    grep -q "application/x-kalvor-${pair#*:}" "$root/usr/share/applications/kalvor.desktop" ||
        fail "the desktop entry does not open application/x-kalvor-${pair#*:}"
done

# --- manual pages: render cleanly and list every command of --help ---
for page in kalvor kalvorctl kalvor-devsim; do
    zcat "$root/usr/share/man/man1/$page.1.gz" >"$work/$page.1"
    groff -man -Tutf8 -ww -z "$work/$page.1" 2>"$work/$page.warn" || fail "$page.1 does not render"
    [[ -s $work/$page.warn ]] && { cat "$work/$page.warn"; fail "$page.1 has troff warnings"; }
done
render() { MANWIDTH=400 man -l "$work/$1.1" 2>/dev/null | col -b | tr -s ' '; }
"$root/usr/bin/kalvorctl" --help | grep -E '^  kalvorctl ' | sed 's/^ *//' | tr -s ' ' >"$work/verbs"
[[ -s $work/verbs ]] || fail "kalvorctl --help lists no commands"
render kalvorctl >"$work/kalvorctl.txt"
while IFS= read -r verb; do
    grep -qF -- "$verb" "$work/kalvorctl.txt" || fail "the manual page lacks: $verb"
done <"$work/verbs"
render kalvor-devsim >"$work/devsim.txt"
for option in $("$root/usr/bin/kalvor-devsim" --help | grep -oE '^  --[a-z-]+'); do
    grep -qF -- "$option" "$work/devsim.txt" || fail "the devsim manual page lacks $option"
done

# --- dependencies: runtime libraries only, each known to the package system ---
depends=$(dpkg-deb -f "$deb" Depends)
[[ -n $depends ]] || fail "no dependencies"
grep -qE 'libqt6widgets6' <<<"$depends" || fail "no dependency on the Qt runtime: $depends"
for dep in $(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/:any//' | tr -d ' ' | sort -u); do
    [[ $dep == *-dev ]] && fail "depends on a development package: $dep"
    apt-cache show --no-all-versions "$dep" >/dev/null 2>&1 || dpkg-query -W "$dep" >/dev/null 2>&1 ||
        fail "dependency $dep is unknown to apt"
done

# --- install, use and remove it, where this test may ---
if [[ $(id -u) -eq 0 ]]; then sudo=(); elif sudo -n true 2>/dev/null; then sudo=(sudo -n); else
    echo "package contents checked; installing skipped (needs root or password-less sudo)"; exit 0
fi
if dpkg-query -W -f='${Status}' kalvor 2>/dev/null | grep -q 'install ok installed'; then
    echo "package contents checked; installing skipped (a kalvor package is installed here)"; exit 0
fi
exec 9>/tmp/kalvor-package-test.lock
flock 9
cleanup() { "${sudo[@]}" apt-get remove -y -qq kalvor >/dev/null 2>&1 || true; rm -rf "$work"; }
trap cleanup EXIT
cp "$deb" "$work/kalvor.deb"
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=300 \
    "$work/kalvor.deb" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install"; }

[[ $(/usr/bin/kalvorctl --version) == "kalvorctl ${version}"* ]] || fail "installed kalvorctl --version"
man -w kalvorctl >/dev/null || fail "man kalvorctl is not found"
/usr/bin/kalvor-devsim --version >/dev/null || fail "installed kalvor-devsim"

# Open projects the way the file manager does: the desktop entry's command with the file.
# The first start opens line.zrp; a second start with other.zrp hands it to the first one
# and ends at once.
export HOME="$work/home" USER=kalvor-package-test
mkdir -p "$HOME"
/usr/bin/kalvorctl new --hw 1 --sw 778 "$work/line.zrp" >/dev/null || fail "kalvorctl new"
/usr/bin/kalvorctl new --hw 1 --sw 778 "$work/other.zrp" >/dev/null || fail "kalvorctl new"
program=$(sed -n 's/^Exec=\([^ ]*\) %f$/\1/p' /usr/share/applications/kalvor.desktop)
[[ $program == kalvor ]] || fail "the desktop entry does not start kalvor with the file"
program=$(command -v "$program")
# The main window's caption names the open project: "<program title> - <file>".
title=$(/usr/bin/kalvorctl --version | sed -n 's/^[^(]*(\(.*\))$/\1/p')
[[ -n $title ]] || fail "no program title in kalvorctl --version"
cat >"$work/first.txt" <<STEPS
timeout 60000
expect 128 "$title - line.zrp"
widgets $work/first.json
expect 128 "$title - other.zrp"
widgets $work/after.json
quit
STEPS
runner=(env QT_QPA_PLATFORM=offscreen)
command -v xvfb-run >/dev/null && runner=(xvfb-run -a)
timeout 120 "${runner[@]}" "$program" --script "$work/first.txt" /nologo "$work/line.zrp" \
    >"$work/first.log" 2>&1 &
first=$!
for _ in $(seq 1 300); do [[ -s $work/first.json ]] && break; sleep 0.2; done
[[ -s $work/first.json ]] || { cat "$work/first.log"; fail "the installed program did not start"; }
grep -q 'line.zrp' "$work/first.json" || fail "the installed program did not open line.zrp"
timeout 20 env QT_QPA_PLATFORM=offscreen "$program" "$work/other.zrp" >"$work/second.log" 2>&1 ||
    { cat "$work/second.log"; fail "the second start did not hand its file over"; }
wait "$first" || { cat "$work/first.log"; fail "the installed program ended with an error"; }
grep -q 'other.zrp' "$work/after.json" || fail "the running program did not open the handed file"
"${sudo[@]}" apt-get remove -y -qq -o DPkg::Lock::Timeout=300 kalvor >"$work/remove.log" 2>&1 ||
    { cat "$work/remove.log"; fail "apt-get remove"; }
[[ -e /usr/bin/kalvor || -e /usr/share/applications/kalvor.desktop ]] && fail "files left after removal"
trap 'rm -rf "$work"' EXIT
echo "package $(basename "$deb") built, checked, installed, used and removed"
