#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package from the build, checks it with lintian, unpacks it into a scratch
# directory (nothing is installed on the machine) and runs what it holds: the checker on a
# problem, the program in a virtual X server. Usage: package.sh <build-dir> <scratch-dir>
set -euo pipefail

build=$(realpath "$1")
scratch=$2
here=$(dirname "$(realpath "$0")")
root=$scratch/root

if [ -z "${KZ_E2E_INSIDE:-}" ]; then
    for tool in cpack dpkg-deb dpkg-shlibdeps file lintian Xvfb xdotool; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
    die() {
        echo "FAIL: $*"
        exit 1
    }
    rm -rf "$scratch"
    mkdir -p "$scratch"
    if ! (cd "$build" && cpack -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1); then
        cat "$scratch/cpack.log"
        die "cpack could not make the package"
    fi
    debs=("$scratch"/*.deb)
    [ ${#debs[@]} -eq 1 ] || die "expected one package, got: ${debs[*]}"
    deb=${debs[0]}

    field() { dpkg-deb -f "$deb" "$1"; }
    expected_name=kazarinoset_$(field Version)_$(field Architecture).deb
    [ "$(basename "$deb")" = "$expected_name" ] || die "package is $(basename "$deb"), not $expected_name"
    # Computed from the binaries, and the packages loaded at run time on top of them.
    depends=$(field Depends)
    for dep in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libstdc++6 \
               qt6-qpa-plugins fonts-ipafont-gothic qt6-translations-l10n; do
        [[ ", $depends," == *", $dep"[\ ,]* ]] || die "Depends lacks $dep: $depends"
    done
    [[ ", $(field Recommends)," == *", xdg-utils,"* ]] || die "Recommends lacks xdg-utils"
    [ -n "$(field Maintainer)" ] || die "no Maintainer"
    [ "$(field Description | wc -l)" -gt 3 ] || die "no extended Description"

    # Errors and warnings fail; the one warning let through is explained in the README.
    if report=$(lintian --display-info --fail-on error,warning \
                        --suppress-tags initial-upload-closes-no-bugs "$deb" 2>&1); then
        lint=0
    else
        lint=$?
    fi
    echo "$report" | grep -v 'running with root privileges' || true
    [ "$lint" -eq 0 ] || die "lintian found errors or warnings (status $lint)"

    dpkg-deb -x "$deb" "$root"
    cmake -DPREFIX="$root/usr" -DBINDIR=games -DLIBEXECDIR=libexec -DDATADIR=share -DMANDIR=share/man \
          -DAPP_ID=io.github.kazarinoset.Kazarinoset \
          -DAPPSTREAMCLI="$(command -v appstreamcli || true)" \
          -P "$here/../../dist/checkinstall.cmake"
    for doc in copyright changelog.Debian.gz; do
        [ -f "$root/usr/share/doc/kazarinoset/$doc" ] || die "no $doc"
    done
    if command -v desktop-file-validate >/dev/null; then
        out=$(desktop-file-validate "$root/usr/share/applications/kazarinoset.desktop" 2>&1)
        [ -z "$out" ] || die "desktop entry: $out"
    fi
    # shellcheck source=xvfb.sh
    source "$here/xvfb.sh"
    run_in_xvfb 800x600 "$0" "$@"
fi

root=$(realpath "$root")
# shellcheck source=session.sh
source "$here/session.sh"

problem=53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79
answer=534678912672195348198342567859761423426853791713924856961537284287419635345286179
out=$(printf '%s\n%s\n' "$problem" "$answer" | "$root/usr/games/kazarinoset-solve")
[ "$out" = $'1\tunique\n1\tunique' ] || fail "checker said: $out"
out=$(echo "$problem" | "$root/usr/games/kazarinoset-solve" --solve)
[ "$out" = "$answer" ] || fail "checker solved it as: $out"
echo "the packaged checker verifies and solves a problem"
echo "$problem" | "$root/usr/games/kazarinoset-solve" --pdf "$root/booklet.pdf" ||
    fail "the packaged checker wrote no booklet"
[ "$(head -c 5 "$root/booklet.pdf")" = "%PDF-" ] || fail "the packaged booklet is no PDF file"
echo "the packaged checker writes a booklet through its PDF writer"

"$root/usr/games/kazarinoset" &
pids+=($!)
wait_window '^Kazarinoset$' >/dev/null
echo "the packaged program shows its window"
