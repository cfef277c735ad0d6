# What the benchmarks run on, made once and kept under $bench (sourced; $top,
# $build and $bench set): the reference payload, the installer packed around
# it and an NSIS installer of it. Both benches take them from here, so that
# either finds what the other made.

bench_payload() { # -> $bench/payload
  [ -f "$bench/payload.stamp" ] && return 0
  rm -rf "$bench/payload"
  python3 "$top/bench/make-payload.py" "$bench/payload"
  touch "$bench/payload.stamp"
}

# Packing 300 MB takes minutes: only again when the packer, the image or the
# settings changed. By content: every build rewrites the link kit's command list.
bench_pack() { # OUT WINBUILD [QXPACK OPTION...]
  local out=$1 win=$2 qxpack=$build/host/packer/qxpack key
  shift 2
  key=$( (cat "$qxpack" "$win/app/setup-image.exe" "$win/app/link-kit/commands.txt" "$top/sample/info.ini"
    [ $# -eq 0 ] || echo "$*") | sha256sum | cut -c1-16)
  [ -f "$out" ] && [ "$(cat "${out%.exe}.key" 2>/dev/null)" = "$key" ] && return 0
  echo "bench: packing $(basename "$out") with qxpack"
  rm -f "${out%.exe}.key"
  "$qxpack" build --settings "$top/sample/info.ini" --payload "$bench/payload" --out "${out%.exe}.tmp.exe" \
    --kit "$win/app/link-kit" "$@" >/dev/null
  mv "${out%.exe}.tmp.exe" "$out"
  echo "$key" >"${out%.exe}.key"
}

bench_nsis() { # TARGET (x86-unicode, amd64-unicode) -> $bench/nsis-setup-TARGET.exe
  local exe=$bench/nsis-setup-$1.exe
  [ -f "$exe" ] && return 0
  echo "bench: building the NSIS installer (once)"
  cat >"$bench/payload-$1.nsi" <<NSI
Target $1
Unicode true
SetCompressor /SOLID lzma
OutFile "$exe.tmp"
InstallDir "C:\\nsis-out"
RequestExecutionLevel user
Section
  SetOutPath "\$INSTDIR"
  File /r "$bench/payload/*"
SectionEnd
NSI
  makensis -V1 "$bench/payload-$1.nsi" >/dev/null
  mv "$exe.tmp" "$exe"
}
