#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# every file in its place, and the desktop entry, the AppStream data and the
# manual valid by the tools that judge them (each one that is installed).
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

status=0
for file in \
    bin/tokenade-auditor \
    bin/tokenade-audit \
    share/applications/org.tokenade.Auditor.desktop \
    share/metainfo/org.tokenade.Auditor.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.tokenade.Auditor.svg \
    share/icons/hicolor/48x48/apps/org.tokenade.Auditor.png \
    share/icons/hicolor/128x128/apps/org.tokenade.Auditor.png \
    share/icons/hicolor/256x256/apps/org.tokenade.Auditor.png \
    share/man/man1/tokenade-audit.1; do
    if [ ! -s "$prefix/$file" ]; then
        echo "missing from the installed tree: $file"
        status=1
    fi
done
[ -x "$prefix/bin/tokenade-audit" ] && "$prefix/bin/tokenade-audit" --version > /dev/null || status=1

if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$prefix/share/applications/org.tokenade.Auditor.desktop" || status=1
else
    echo "desktop-file-validate is not installed: desktop entry not validated"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.tokenade.Auditor.metainfo.xml" || status=1
else
    echo "appstreamcli is not installed: metainfo not validated"
fi
if command -v man > /dev/null; then
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/tokenade-audit.1" 2>&1 > /dev/null)
    if [ -n "$warnings" ]; then
        echo "the manual renders with warnings:"
        echo "$warnings"
        status=1
    fi
else
    echo "man is not installed: manual not rendered"
fi
[ $status -eq 0 ] && echo "installed tree complete and valid"
exit $status
