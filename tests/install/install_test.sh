#!/usr/bin/env bash
# Installs the build tree into a staging directory (DESTDIR), then builds
# examples/embed.cpp against the staged install twice, through find_package
# and through pkg-config, and runs both: each must find the installed
# plug-ins beside the installed library and print what embed.expected holds.
# The CMake build also links the static runtime, told where the plug-ins are.
# Also checks that the README shows the example as it is.
#
# install_test.sh BUILD_DIR SOURCE_DIR CXX CXXFLAGS LDFLAGS
set -euo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd) cxx=$3 cxxflags=$4 ldflags=$5
work=$build/install-test
rm -rf "$work"
mkdir -p "$work"
unset ISOFMT_PLUGIN_PATH

DESTDIR=$work/stage cmake --install "$build" --prefix /opt/isofmt >/dev/null
root=$work/stage/opt/isofmt
pc=$(find "$root" -name isofmt.pc)
libdir=$(dirname "$(dirname "$pc")")
for f in bin/isofmt include/isofmt/host.h include/isofmt/select.h include/isofmt/abi/call_block.h; do
  [ -e "$root/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
for p in dtbasic1 dtextnd1 dtaltfm1 dtclockf; do
  [ -e "$libdir/isofmt/plugins/$p.so" ] || { echo "plug-in not installed: $p" >&2; exit 1; }
done
soname=$(objdump -p "$libdir/libisofmt.so" | awk '$1 == "SONAME" {print $2}')
[ "$soname" = libisofmt.so.1 ] || { echo "SONAME is '$soname'" >&2; exit 1; }

# The contract headers compile on their own from the install.
for h in "$root"/include/isofmt/abi/*.h; do
  echo "#include <isofmt/abi/${h##*/}>" | "$cxx" -std=c++20 -fsyntax-only -x c++ -I"$root/include" -
done

check() {  # program: runs it, compares its output with embed.expected
  if ! diff -u "$source/tests/install/embed.expected" <("$1"); then
    echo "$1: unexpected output" >&2
    exit 1
  fi
}

# Through the CMake package, with the flags of this build (a sanitizer build
# needs them in the program too).
cmake -S "$source/examples" -B "$work/cmake" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_PREFIX_PATH="$root" >/dev/null
cmake --build "$work/cmake" >/dev/null
check "$work/cmake/embed"
ISOFMT_PLUGIN_PATH=$libdir/isofmt/plugins check "$work/cmake/embed_static"

# Through pkg-config.
export PKG_CONFIG_PATH=$(dirname "$pc")
read -r -a flags <<<"$(pkg-config --cflags --libs isofmt)"
read -r -a extra <<<"$cxxflags $ldflags"
"$cxx" -std=c++20 "${extra[@]}" "$source/examples/embed.cpp" -o "$work/embed-pc" "${flags[@]}" \
  -Wl,-rpath,"$(pkg-config --variable=libdir isofmt)"
check "$work/embed-pc"

# The installed tool finds its plug-ins from bin/.
[ "$("$root/bin/isofmt" format E8601DZ26.3 0)" = "  1960-01-01T00:00:00.000Z" ]

# The README's example is examples/embed.cpp.
diff -u "$source/examples/embed.cpp" \
  <(awk '/^## Embedding in C\+\+/ {s = 1} s && /^```cpp/ {c = 1; next} c && /^```/ {exit} c' "$source/README.md")
