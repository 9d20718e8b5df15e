#!/usr/bin/env bash
# Builds the Windows (x86-64) programs with Debian's mingw-w64 cross compiler and lays out
# dist/z5-configurator-windows-x64/ and its .zip.
#
# The toolchain (zlib, libxlsxwriter, SQLite, qtbase 6.4.2 for mingw-w64) is built once from Debian's source
# packages into $Z5_WINDOWS_CACHE (default ~/.cache/z5-windows), one folder per library named by its
# version, and reused while it is there. First run: about 30 to 60 minutes on two cores; afterwards
# only the project is built.
#
#   scripts/windows.sh                 toolchain (if missing), project, dist folder and zip
#   scripts/windows.sh --toolchain     only the toolchain
#   scripts/windows.sh --have-toolchain  exit status 0 when the toolchain is cached, else 1
#
# Needs (Debian bookworm): g++-mingw-w64-x86-64-posix mingw-w64-tools dpkg-dev qt6-base-dev
# qt6-translations-l10n zip tcl, and a deb-src entry for `apt-get source` (see the README);
# the installer (scripts/windows-msi.sh) needs wixl, the tests (scripts/windows-test.sh) wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cache=${Z5_WINDOWS_CACHE:-$HOME/.cache/z5-windows}
jobs=${JOBS:-2}
zlib_version=1.2.13
xlsxwriter_version=1.1.4
sqlite_version=3.40.1
qt_version=6.4.2
gtest_version=1.12.1
zlib_prefix=$cache/zlib-$zlib_version-mingw64
xlsxwriter_prefix=$cache/libxlsxwriter-$xlsxwriter_version-mingw64
sqlite_prefix=$cache/sqlite-$sqlite_version-mingw64
qt_prefix=$cache/qtbase-$qt_version-mingw64
gtest_prefix=$cache/googletest-$gtest_version-mingw64
toolchain=$cache/mingw-w64-x86_64.cmake
export Z5_WINDOWS_PREFIX="$zlib_prefix;$xlsxwriter_prefix;$sqlite_prefix;$gtest_prefix"

log() { printf '[windows] %s\n' "$*" >&2; }
# Ninja's "[n/m] ..." lines in, one line of progress for every hundred steps out.
progress() {
  local line step
  while IFS= read -r line; do
    [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]] || continue
    step=${BASH_REMATCH[1]}
    if (( step % 100 == 0 || step == BASH_REMATCH[2] )); then log "$1: step $step of ${BASH_REMATCH[2]}"; fi
  done
}
# Long builds run at the lowest priority so the machine stays usable.
build() { nice -n 19 "$@"; }

# Debian's source package, unpacked once under $cache/src.
source_dir() {
  local package=$1 pattern=$2 dir
  mkdir -p "$cache/src"
  dir=$(find "$cache/src" -maxdepth 1 -type d -name "$pattern" | head -n1)
  if [ -z "$dir" ]; then
    log "fetching the $package source package"
    (cd "$cache/src" && apt-get source -q "$package" >/dev/null)
    dir=$(find "$cache/src" -maxdepth 1 -type d -name "$pattern" | head -n1)
  fi
  [ -n "$dir" ] || { log "no source for $package"; exit 1; }
  printf '%s\n' "$dir"
}

install_toolchain_file() {
  mkdir -p "$cache"
  # Qt remembers the toolchain file it was built with, so it lives in the cache, not the work tree.
  cmp -s cmake/mingw-w64-x86_64.cmake "$toolchain" || cp cmake/mingw-w64-x86_64.cmake "$toolchain"
}

build_zlib() {
  [ -f "$zlib_prefix/.done" ] && return
  local src; src=$(source_dir zlib "zlib-$zlib_version*")
  log "building zlib $zlib_version"
  rm -rf "$cache/build/zlib" "$zlib_prefix"
  build cmake -S "$src" -B "$cache/build/zlib" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
  # Debian's repacked source lacks win32/zlib1.rc, which only the DLL needs.
  build cmake --build "$cache/build/zlib" --target zlibstatic -j "$jobs" >/dev/null
  mkdir -p "$zlib_prefix/include" "$zlib_prefix/lib"
  cp "$cache/build/zlib/libzlibstatic.a" "$zlib_prefix/lib/libz.a"
  cp "$src/zlib.h" "$cache/build/zlib/zconf.h" "$zlib_prefix/include/"
  touch "$zlib_prefix/.done"
}

build_xlsxwriter() {
  [ -f "$xlsxwriter_prefix/.done" ] && return
  local src; src=$(source_dir libxlsxwriter "libxlsxwriter-$xlsxwriter_version*")
  log "building libxlsxwriter $xlsxwriter_version"
  rm -rf "$cache/build/xlsxwriter" "$xlsxwriter_prefix"
  build cmake -S "$src" -B "$cache/build/xlsxwriter" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$xlsxwriter_prefix" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF \
    -DZLIB_INCLUDE_DIR="$zlib_prefix/include" -DZLIB_LIBRARY="$zlib_prefix/lib/libz.a" >/dev/null
  build cmake --build "$cache/build/xlsxwriter" -j "$jobs" >/dev/null
  cmake --install "$cache/build/xlsxwriter" >/dev/null
  touch "$xlsxwriter_prefix/.done"
}

# The station record's database. Debian's source is SQLite's own tree: its one-file
# form (sqlite3.c) is generated with the machine's compiler and tclsh, then built
# for Windows as a static library with a pkg-config file of its own.
build_sqlite() {
  [ -f "$sqlite_prefix/.done" ] && return
  local src; src=$(source_dir sqlite3 "sqlite3-$sqlite_version*")
  local work=$cache/build/sqlite
  log "building SQLite $sqlite_version"
  rm -rf "$work" "$sqlite_prefix"
  mkdir -p "$work" "$sqlite_prefix/include" "$sqlite_prefix/lib/pkgconfig"
  (cd "$work" && build "$src/configure" --disable-tcl >/dev/null && build make sqlite3.c >/dev/null)
  build x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION \
    -c "$work/sqlite3.c" -o "$work/sqlite3.o"
  x86_64-w64-mingw32-ar rcs "$sqlite_prefix/lib/libsqlite3.a" "$work/sqlite3.o"
  cp "$work/sqlite3.h" "$sqlite_prefix/include/"
  cat > "$sqlite_prefix/lib/pkgconfig/sqlite3.pc" <<PC
prefix=$sqlite_prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include
Name: SQLite
Description: SQL database engine
Version: $sqlite_version
Libs: -L\${libdir} -lsqlite3
Cflags: -I\${includedir}
PC
  touch "$sqlite_prefix/.done"
}

# The unit tests' framework, for the test programs run under Wine.
build_googletest() {
  [ -f "$gtest_prefix/.done" ] && return
  local src; src=$(source_dir googletest "googletest-$gtest_version*")
  log "building googletest $gtest_version"
  rm -rf "$cache/build/googletest" "$gtest_prefix"
  build cmake -S "$src" -B "$cache/build/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$gtest_prefix" \
    -DBUILD_GMOCK=OFF -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF >/dev/null
  build cmake --build "$cache/build/googletest" -j "$jobs" >/dev/null
  cmake --install "$cache/build/googletest" >/dev/null
  touch "$gtest_prefix/.done"
}

build_qtbase() {
  [ -f "$qt_prefix/.done" ] && return
  local src; src=$(source_dir qt6-base "qt6-base-$qt_version*")
  log "building qtbase $qt_version (long: about 1150 steps)"
  rm -rf "$cache/build/qtbase" "$qt_prefix"
  # Debian's own host tools (moc, uic, rcc) serve the cross build. Debian's source lacks the
  # tablet header, so tablet events are off; with OpenGL off, dynamic GL must be off too.
  build cmake -S "$src" -B "$cache/build/qtbase" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
    -DQT_HOST_PATH=/usr -DQt6HostInfo_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_openssl=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_vulkan=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    > "$cache/build/qtbase-configure.log" 2>&1
  log "qtbase build log: $cache/build/qtbase-build.log"
  # One line of progress for every hundred steps; the whole output goes to the log.
  build cmake --build "$cache/build/qtbase" -j "$jobs" 2>&1 | tee "$cache/build/qtbase-build.log" | progress qtbase
  cmake --install "$cache/build/qtbase" >/dev/null
  touch "$qt_prefix/.done"
}

build_toolchain() {
  install_toolchain_file
  build_zlib
  build_xlsxwriter
  build_sqlite
  build_googletest
  build_qtbase
  # Only the installed libraries are used from here on: the sources and build trees go, the logs stay.
  if [ -d "$cache/build" ]; then find "$cache/build" -mindepth 1 -maxdepth 1 -type d -exec rm -rf {} +; fi
  rm -rf "$cache/src"
}

build_project() {
  log "building the project for Windows"
  # pkg-config answers for the cross-built libxlsxwriter and SQLite only, never for Debian's own.
  export PKG_CONFIG_LIBDIR=$xlsxwriter_prefix/lib/pkgconfig:$sqlite_prefix/lib/pkgconfig PKG_CONFIG_PATH=
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the checkout: another clone of the tree hits the same cache.
    export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
  fi
  # Test discovery would run the .exe files at build time; scripts/windows-test.sh runs them under Wine.
  build "$qt_prefix/bin/qt-cmake" -S "$root" -B "$root/build-windows" -G Ninja "${launcher[@]}" \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
    -DCMAKE_BUILD_TYPE=Release -DZ5_BUILD_BENCH=OFF -DZ5_BUILD_TESTS="${Z5_WINDOWS_TESTS:-ON}" \
    >/dev/null
  build cmake --build "$root/build-windows" -j "$jobs"
}

mingw_dll() {
  local f; f=$(x86_64-w64-mingw32-g++-posix -print-file-name="$1")
  [ -f "$f" ] || f=$(find /usr/lib/gcc/x86_64-w64-mingw32 /usr/x86_64-w64-mingw32/lib -name "$1" \
    -path '*posix*' 2>/dev/null | head -n1)
  [ -f "$f" ] || f=$(find /usr/lib/gcc/x86_64-w64-mingw32 /usr/x86_64-w64-mingw32/lib -name "$1" | head -n1)
  printf '%s\n' "$f"
}

# The licences of what ships, as Debian states them for the same sources, with the
# licence texts they refer to; the About box lists this folder.
lay_out_licences() {
  local to=$1 name from
  mkdir -p "$to"
  while read -r name from; do
    [ -f "$from" ] || { log "no licence text $from"; exit 1; }
    sed 's/$/\r/' "$from" > "$to/$name.txt"
  done <<LICENCES
Z5-Configurator $root/packaging/copyright
Qt /usr/share/doc/libqt6core6/copyright
libxlsxwriter /usr/share/doc/libxlsxwriter4/copyright
zlib /usr/share/doc/zlib1g/copyright
SQLite /usr/share/doc/libsqlite3-0/copyright
GCC-runtime /usr/share/doc/gcc-mingw-w64-base/copyright
mingw-w64-winpthreads /usr/share/doc/mingw-w64-common/copyright
LGPL-3 /usr/share/common-licenses/LGPL-3
GPL-3 /usr/share/common-licenses/GPL-3
LICENCES
}

lay_out_dist() {
  local dist=$root/dist/z5-configurator-windows-x64 b=$root/build-windows
  log "laying out $dist"
  rm -rf "$dist" "$dist.zip"
  mkdir -p "$dist/platforms" "$dist/translations"
  cp "$b/apps/z5-configurator/z5-configurator.exe" "$b/apps/z5ctl/z5ctl.exe" "$dist/"
  if [ -f "$b/apps/z5-sim/z5-sim.exe" ]; then cp "$b/apps/z5-sim/z5-sim.exe" "$dist/"; fi
  for m in Core Gui Widgets PrintSupport; do cp "$qt_prefix/bin/Qt6$m.dll" "$dist/"; done
  cp "$qt_prefix/plugins/platforms/qwindows.dll" "$dist/platforms/"
  # z5ctl's trend printout draws without a screen.
  if [ -f "$qt_prefix/plugins/platforms/qoffscreen.dll" ]; then cp "$qt_prefix/plugins/platforms/qoffscreen.dll" "$dist/platforms/"; fi
  # Printer support (Qt 6 has it inside Qt6PrintSupport.dll on Windows), the native look,
  # and pictures other than PNG for operator screens.
  for kind in printsupport styles imageformats; do
    if compgen -G "$qt_prefix/plugins/$kind/*.dll" >/dev/null; then
      mkdir -p "$dist/$kind"; cp "$qt_prefix/plugins/$kind"/*.dll "$dist/$kind/"
    fi
  done
  for d in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do cp "$(mingw_dll "$d")" "$dist/"; done
  # What ships carries no debugging sections (the compiler's runtime DLLs come with theirs).
  find "$dist" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-debug {} +
  lay_out_licences "$dist/licenses"
  # Qt's Russian texts for its own dialogs and buttons.
  cp /usr/share/qt6/translations/qtbase_ru.qm "$dist/translations/"
  # Qt looks for its plugins and translations beside the programs.
  printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' > "$dist/qt.conf"
  sed 's/$/\r/' packaging/windows/README.txt > "$dist/README.txt"
  # The example netlist with the parameter and screen files z5ctl's help examples use.
  mkdir -p "$dist/examples" && cp examples/* "$dist/examples/"
  (cd "$root/dist" && rm -f z5-configurator-windows-x64.zip && zip -qr z5-configurator-windows-x64.zip z5-configurator-windows-x64)
  log "dist/z5-configurator-windows-x64.zip: $(du -h "$root/dist/z5-configurator-windows-x64.zip" | cut -f1)"
}

if [ "${1:-}" = --have-toolchain ]; then
  for p in "$zlib_prefix" "$xlsxwriter_prefix" "$sqlite_prefix" "$gtest_prefix" "$qt_prefix"; do [ -f "$p/.done" ] || exit 1; done
  exit 0
fi
build_toolchain
if [ "${1:-}" = --toolchain ]; then exit 0; fi
build_project
lay_out_dist
