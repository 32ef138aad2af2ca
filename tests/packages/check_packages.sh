#!/usr/bin/env bash
# Builds the Debian packages from a build folder with CPack, then checks them
# as installed: each is unpacked into a root of its own and all into one;
# every package holds its files and names its real dependencies; the desktop
# entry and the metainfo validate; the programs run from the unpacked root,
# orl-tool's first start making its settings in a fresh home folder;
# a C and a C++ host build against libqueldb-dev through find_package(QuelDB)
# and pkg-config and run on libqueldb1's files alone; lintian finds no error.
#   check_packages.sh BUILD_DIR WORK_DIR TESTS_DIR VERSION GENERATOR
set -euo pipefail
build=$1 work=$2 tests=$3 version=$4 generator=$5
packages=$build/packages
arch=$(dpkg --print-architecture)
libdir=lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Runs a command quietly; on failure shows its output and stops the check.
must() {
  local out
  if ! out=$("$@" 2>&1); then
    echo "$out" >&2
    echo "FAIL: $*" >&2
    exit 1
  fi
}
deb() { echo "$packages/${1}_${version}_${arch}.deb"; }

rm -rf "$work"
mkdir -p "$work/all" "$work/root" "$work/system"
printf '[IOType]\nIODevice=Modbus\n' >"$work/system/KVD.INI"

echo "== cpack"
rm -f "$packages"/*.deb
(cd "$build" && must cpack --config CPackConfig.cmake)

# Package and the files it must hold, below its root.
declare -A holds=(
  [orl]="usr/bin/orl usr/bin/orl-tool usr/share/applications/orl.desktop
         usr/share/icons/hicolor/scalable/apps/orl.svg usr/share/metainfo/io.github.orlsaw.orl.metainfo.xml
         usr/share/man/man1/orl.1.gz usr/share/man/man1/orl-tool.1.gz
         usr/share/orl/examples/ORL.INI usr/share/orl/examples/Programs/kitchen-groups"
  [libqueldb1]="usr/$libdir/libqueldb.so.1 usr/$libdir/libqueldb.so.$version"
  [libqueldb-dev]="usr/include/queldb/db.h usr/include/queldb/queldb.h usr/$libdir/libqueldb.so
         usr/$libdir/cmake/QuelDB/QuelDBConfig.cmake usr/$libdir/cmake/QuelDB/QuelDBConfigVersion.cmake
         usr/$libdir/pkgconfig/queldb.pc"
  [libqueldb-widgets1]="usr/$libdir/libqueldb_widgets.so.1 usr/$libdir/libqueldb_widgets.so.$version"
  [libqueldb-widgets-dev]="usr/include/queldb/db_control.h usr/$libdir/libqueldb_widgets.so
         usr/$libdir/cmake/QuelDB/QuelDBWidgetsTargets.cmake usr/$libdir/pkgconfig/queldb-widgets.pc"
  [qt6-designer-plugin-queldb]="usr/$libdir/qt6/plugins/designer/libqueldb_designer.so"
  [queldb]="usr/bin/queldb usr/share/man/man1/queldb.1.gz"
)
echo "== contents"
for name in "${!holds[@]}"; do
  [ -f "$(deb "$name")" ] || { fail "no package $(deb "$name")"; continue; }
  dpkg-deb -x "$(deb "$name")" "$work/root/$name"
  dpkg-deb -x "$(deb "$name")" "$work/all"
  for file in ${holds[$name]} usr/share/doc/$name/copyright usr/share/doc/$name/changelog.gz; do
    [ -e "$work/root/$name/$file" ] || [ -L "$work/root/$name/$file" ] || fail "$name lacks /$file"
  done
  for field in Section Maintainer Description; do
    [ -n "$(dpkg-deb -f "$(deb "$name")" "$field")" ] || fail "$name has no $field"
  done
done
[ "$(ls "$packages"/*.deb | wc -l)" -eq "${#holds[@]}" ] || fail "packages other than ${!holds[*]}: $(ls "$packages")"
# A runtime package holds its library and nothing a developer alone needs.
for name in libqueldb1 libqueldb-widgets1; do
  extra=$(cd "$work/root/$name" && find . ! -type d | grep -v -e "/lib[a-z_]*\.so\.1" -e "^./usr/share/doc/" || true)
  [ -z "$extra" ] || fail "$name holds more than its library: $extra"
done

echo "== dependencies"
depends() { dpkg-deb -f "$(deb "$1")" Depends; }
expect_depends() {
  local name=$1
  shift
  for wanted in "$@"; do
    [[ "$(depends "$name")" == *"$wanted"* ]] || fail "$name does not depend on $wanted: $(depends "$name")"
  done
}
expect_depends orl libqt6widgets6 libmodbus5 libmuparser
expect_depends libqueldb1 libsqlite3-0 libstdc++6
expect_depends libqueldb-dev "libqueldb1 (= $version)"
expect_depends libqueldb-widgets1 "libqueldb1 (= $version)" libqt6widgets6 libqt6sql6
expect_depends libqueldb-widgets-dev "libqueldb-widgets1 (= $version)" "libqueldb-dev (= $version)"
expect_depends qt6-designer-plugin-queldb "libqueldb-widgets1 (= $version)"
expect_depends queldb "libqueldb1 (= $version)"

echo "== desktop entry and metainfo"
must desktop-file-validate "$work/all/usr/share/applications/orl.desktop"
must appstreamcli validate --no-net "$work/all/usr/share/metainfo/io.github.orlsaw.orl.metainfo.xml"

echo "== programs"
[ "$("$work/all/usr/bin/orl-tool" --version)" = "$version" ] || fail "orl-tool --version does not print $version"
[[ "$(QT_QPA_PLATFORM=offscreen "$work/all/usr/bin/orl" --version)" == *"$version"* ]] || fail "orl --version"
must "$work/all/usr/bin/queldb" --help
for page in orl orl-tool queldb; do
  [[ "$(zcat "$work/all/usr/share/man/man1/$page.1.gz")" == *'\-\-help'* ]] || fail "man page $page lists no options"
done

echo "== first start of the installed orl-tool"
home=$work/home
if told=$(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u ORL_SETTINGS_DIR HOME="$home" "$work/all/usr/bin/orl-tool" run \
  "$work/all/usr/share/orl/examples/Programs/kitchen-groups" --plc sim --until-done --tick-ms 0 2>&1 >/dev/null); then
  [[ "$told" == *"$home/.config/orl/ORL.INI"* ]] || fail "orl-tool did not say where it wrote the settings: $told"
  grep -q "^ProgramPath=$home/.local/share/orl/Programs$" "$home/.config/orl/ORL.INI" ||
    fail "the first start's settings do not point into $home/.local/share/orl"
else
  fail "orl-tool run on its first start: $told"
fi

echo "== hosts against libqueldb-dev"
dev=$work/dev
dpkg-deb -x "$(deb libqueldb1)" "$dev"
dpkg-deb -x "$(deb libqueldb-dev)" "$dev"
for host in host cpp_host; do
  source_dir=$tests/packages/$host
  [ "$host" = host ] && source_dir=$tests/tagdb_ui/package/host
  for via in find_package pkg-config; do
    out=$work/$host-$via
    must env PKG_CONFIG_PATH="$dev/usr/$libdir/pkgconfig" cmake -S "$source_dir" -B "$out" -G "$generator" \
      -DCMAKE_PREFIX_PATH="$dev/usr" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_SKIP_RPATH=ON -DQUELDB_VIA="$via"
    must cmake --build "$out" -j 2
    program=$(find "$out" -maxdepth 1 -type f -name 'host_c*' -perm -u+x | head -1)
    must env LD_LIBRARY_PATH="$work/root/libqueldb1/usr/$libdir" QUELDB_SYSTEM_DIR="$work/system" "$program"
  done
done

echo "== lintian"
if ! lintian --fail-on error --tag-display-limit 0 "$packages"/*.deb >"$work/lintian.txt" 2>&1; then
  fail "lintian reports errors"
fi
cat "$work/lintian.txt"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "packages OK"
