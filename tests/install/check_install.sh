#!/usr/bin/env bash
# Checks one aspect of Tarvin's installed tree:
#   check_install.sh tree|desktop_entry|mime_type|metainfo|manual BUILD_DIR SOURCE_DIR PREFIX
# "tree" installs the build into PREFIX (afresh) and compares the file list; the others read
# PREFIX. Exit status 77 means skipped: a tool that the check needs is not installed.
set -euo pipefail
check=$1 build=$2 source=$3 prefix=$4
app_id=example.halvorn.Tarvin
mime_type=application/x-halvorn-pml+xml

fail() { echo "FAIL: $*" >&2; exit 1; }
need() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
            exit 77
        fi
    done
}

case $check in
tree)
    rm -rf "$prefix"
    cmake --install "$build" --prefix "$prefix" >/dev/null
    expected=(
        bin/tarvin
        lib/tarvin/tarvin-gui.so
        lib/tarvin/tarvin-web.so
        share/applications/$app_id.desktop
        share/doc/tarvin/changelog.gz
        share/doc/tarvin/copyright
        share/doc/tarvin/halvorn-tarvin-manual.pdf
        share/icons/hicolor/scalable/apps/$app_id.svg
        share/man/man1/tarvin.1.gz
        share/metainfo/$app_id.metainfo.xml
        share/mime/packages/tarvin.xml
    )
    for size in 16 22 24 32 48 64 128 256; do
        expected+=(share/icons/hicolor/${size}x${size}/apps/$app_id.png)
    done
    actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
    wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
    if [ "$actual" != "$wanted" ]; then
        diff <(echo "$wanted") <(echo "$actual") >&2 || true
        fail "the installed files differ from the expected list (< expected, > installed)"
    fi
    [ -x "$prefix/bin/tarvin" ] || fail "bin/tarvin is not executable"
    # The usage text needs no display: the installed program starts.
    "$prefix/bin/tarvin" /? </dev/null | grep -q "Convert file dates" ||
        fail "the installed program does not print its usage text"
    for size in 16 22 24 32 48 64 128 256; do
        png=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
        file "$png" | grep -q "PNG image data, $size x $size" || fail "$png is not $size x $size"
    done
    gzip -t "$prefix/share/man/man1/tarvin.1.gz" "$prefix/share/doc/tarvin/changelog.gz"
    ;;
desktop_entry)
    need desktop-file-validate
    entry=$prefix/share/applications/$app_id.desktop
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
    grep -qx "Exec=tarvin %f" "$entry" || fail "the entry does not start tarvin with the file"
    grep -qx "MimeType=$mime_type;" "$entry" || fail "the entry does not claim $mime_type"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "the entry's icon $icon is not installed"
    ;;
mime_type)
    need update-mime-database gio
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/share/mime/packages" "$work/files"
    cp "$prefix/share/mime/packages/tarvin.xml" "$work/share/mime/packages/"
    # Warnings about the package go to standard error; there must be none.
    XDG_DATA_DIRS="$work/share" update-mime-database "$work/share/mime" 2>"$work/errors" >/dev/null
    if [ -s "$work/errors" ]; then
        cat "$work/errors" >&2
        fail "update-mime-database reports problems with the package"
    fi
    sample=$(ls "$source"/samples/*.pml | head -n 1)
    cp "$sample" "$work/files/message.pml"
    cp "$sample" "$work/files/MESSAGE.PML"
    cp "$sample" "$work/files/message-without-extension"
    printf '<?xml version="1.0"?>\n<messages/>\n' >"$work/files/other.xml"
    type_of() {
        XDG_DATA_DIRS="$work/share:/usr/share" gio info -a standard::content-type "$1" |
            sed -n 's/^ *standard::content-type: //p'
    }
    for name in message.pml MESSAGE.PML message-without-extension; do
        [ "$(type_of "$work/files/$name")" = "$mime_type" ] ||
            fail "$name is $(type_of "$work/files/$name"), not $mime_type"
    done
    [ "$(type_of "$work/files/other.xml")" = "application/xml" ] ||
        fail "another XML document is taken for a message file"
    ;;
metainfo)
    need appstreamcli
    appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" ||
        fail "appstreamcli rejects the metainfo"
    ;;
manual)
    need pdftotext pdfinfo
    for pdf in "$build/halvorn-tarvin-manual.pdf" "$prefix/share/doc/tarvin/halvorn-tarvin-manual.pdf"; do
        [ -f "$pdf" ] || fail "$pdf is missing"
    done
    pdf=$prefix/share/doc/tarvin/halvorn-tarvin-manual.pdf
    pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
    [ "${pages:-0}" -ge 12 ] || fail "the manual has ${pages:-no} pages"
    text=$(pdftotext -layout "$pdf" -)
    for heading in "Tarvin User Manual" "Contents" "Opening messages" \
        "The explorer and the message list" "The quick view" "The viewer window" "Attachments" \
        "Printing" "Reply and forward" "Finding messages" "Converting dates" \
        "From the command line" "Options" "Where Tarvin keeps its files"; do
        grep -qF "$heading" <<<"$text" || fail "the manual lacks the heading \"$heading\""
    done
    # The contents list each heading with the page it is on.
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    for ((page = 2; page <= pages; page++)); do
        pdftotext -f "$page" -l "$page" "$pdf" "$work/$page.txt"
    done
    entries=0
    while read -r entry; do
        number=${entry##* }
        heading=$(sed 's/ *[0-9]*$//' <<<"$entry")
        grep -qxF "$heading" "$work/$number.txt" 2>/dev/null ||
            fail "the contents put \"$heading\" on page $number, where it is not"
        entries=$((entries + 1))
    done < <(pdftotext -layout -f 1 -l 1 "$pdf" - | sed -n 's/^ *\(.*[^ ]\)  *\([0-9][0-9]*\)$/\1 \2/p')
    [ "$entries" -ge 12 ] || fail "the contents list $entries headings"
    ;;
*)
    fail "unknown check $check"
    ;;
esac
echo "PASS: $check"
