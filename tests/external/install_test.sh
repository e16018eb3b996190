#!/usr/bin/env bash
# Installs the build into a temporary prefix, then uses the installed programs from another
# folder as a user would: they must find their home in PREFIX/share/qiro and write nothing there.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share/qiro
for f in bin/qiro-cli share/qiro/IEEE/nand2.SYM share/qiro/default.tec share/qiro/technologies/cmos12.tec \
         share/qiro/Html/index.html share/qiro/examples/half_adder.sch share/applications/qiro.desktop \
         share/mime/packages/qiro.xml share/icons/hicolor/scalable/apps/qiro.svg \
         share/icons/hicolor/256x256/apps/qiro.png; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
snapshot() { (cd "$prefix/share" && find . -printf '%p %s %T@\n' | sort); }
before=$(snapshot)

mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere"
cli() { env -u QIRO_HOME "$prefix/bin/qiro-cli" "$@"; }
out=$(cli simulate "$share/examples/half_adder.sch" --until 80 --toggle button1@20 --expect sum=1@38 \
      --expect carry=0@38) || fail "simulate failed: $out"
grep -q 'expect sum=1@38 ok' <<<"$out" || fail "unexpected simulation: $out"
cli extract "$share/examples/counter.sch" >/dev/null || fail "extract failed"
cli check "$share/examples/full_adder.sch" >/dev/null || fail "check failed"
cli verilog "$share/examples/adder_2bit.sch" -o "$tmp/elsewhere/net.v" >/dev/null || fail "verilog failed"
cli asm "$share/examples/mcu_counter.sch" >/dev/null || fail "asm failed"
cli tosym "$share/examples/full_adder.sch" --dir "$tmp/elsewhere" >/dev/null || fail "tosym failed"
# The library and the default technology come from the installed home, not from the folder.
cli extract "$share/examples/half_adder.sch" | grep -qi 'error' && fail "extract reported an error"
[ -e "$tmp/elsewhere/net.v" ] || fail "no netlist written"
cli --home "$share" info "$share/examples/half_adder.sch" >/dev/null || fail "--home refused"
# render (in builds with Qt) runs the installed helper, found from where qiro-cli runs.
if [ -x "$build/src/cli/qiro-render" ]; then
  QT_QPA_PLATFORM=offscreen cli render "$share/examples/half_adder.sch" -o "$tmp/elsewhere/h.png" --size 200x150 \
    >/dev/null 2>&1 || fail "render failed"
  [ -s "$tmp/elsewhere/h.png" ] || fail "render wrote no picture"
fi
if [ -x "$prefix/bin/qiro" ]; then
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/qiro" --version) || fail "qiro --version failed"
  [[ $version == "qiro "* ]] || fail "qiro --version printed '$version'"
fi

[ "$before" = "$(snapshot)" ] || fail "something was written into $prefix/share"
echo "install test: ok"
