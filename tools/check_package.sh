#!/usr/bin/env bash
# Checks a Clinora .deb: what it installs (dpkg-deb -c) with the manual and every picture
# it shows, that its dependencies came from the package tools, that its desktop entry
# and AppStream metadata validate, and that lintian finds no error and no warning in it
# (nothing is overridden).
#
#   tools/check_package.sh build-release/clinora_1.1_amd64.deb
set -euo pipefail

deb="$1"
id=br.com.clinora.Clinora
contents="$(dpkg-deb -c "$deb" | awk '{print $NF}')"
fail() { echo "pacote $deb: $*" >&2; exit 1; }

expected=(./usr/bin/clinora
          ./usr/share/applications/$id.desktop
          ./usr/share/metainfo/$id.metainfo.xml
          ./usr/share/clinora/manual/index.html
          ./usr/share/doc/clinora/copyright
          ./usr/share/doc/clinora/changelog.gz
          ./usr/share/man/man1/clinora.1.gz)
for size in 16 22 24 32 48 64 128 256 512; do
    expected+=(./usr/share/icons/hicolor/${size}x${size}/apps/$id.png)
done
for path in "${expected[@]}"; do
    grep -qxF "$path" <<<"$contents" || fail "falta $path"
done

# Every picture the manual shows travels with it.
while read -r image; do
    grep -qxF "./usr/share/clinora/manual/$image" <<<"$contents" || fail "o manual mostra $image, que não está no pacote"
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/clinora/manual/index.html \
         | grep -o 'src="[^"]*"' | sed 's/^src="//; s/"$//' | sort -u)

depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6widgets6 libsqlite3-0 pxlib1; do
    grep -q "$library" <<<"$depends" || fail "as dependências não citam $library: $depends"
done

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
desktop-file-validate "$tmp/usr/share/applications/$id.desktop"
grep -qx 'Exec=clinora --estatisticas' "$tmp/usr/share/applications/$id.desktop" || fail "sem a ação das estatísticas"
appstreamcli validate --no-net "$tmp/usr/share/metainfo/$id.metainfo.xml"

# lintian as Debian's archive runs it, every tag shown; an error or a warning fails.
lintian --display-info --pedantic --fail-on error,warning "$deb"
echo "pacote $deb: conteúdo, dependências, entrada de menu e metadados em ordem"
