# Shared by scripts/run, test, bench, paquete and probar-paquete: installs
# what is missing on a Debian 12 machine, then configures and builds into
# build/.
set -euo pipefail

RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Build tools and Qt; the comic face and Qt's Spanish texts the window uses;
# the validators of the desktop entry and metainfo that scripts/test runs.
PAQUETES=(
  cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  fonts-comic-neue desktop-file-utils appstream appstream-util clang-format
)
# What scripts/windows adds: the mingw-w64 compiler (POSIX threads, which
# std::thread needs), Wine to run what it builds (wine brings the commands,
# wine64 the 64-bit loader), an X server without a screen and xdotool to find
# and close the program's window, NSIS for the installer.
PAQUETES_WINDOWS=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xauth xdotool nsis fonts-dejavu-core
)

instalar_paquetes() {
  local faltan=()
  for p in "${PAQUETES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
  done
  [ ${#faltan[@]} -eq 0 ] && return 0
  echo "Instalando: ${faltan[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Faltan paquetes y no hay sudo: instálalos como root: ${faltan[*]}" >&2; exit 1; }
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
}

compilar() {
  cmake -S "$RAIZ" -B "$RAIZ/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$RAIZ/build" >&2
}

# The program and its tests built again with the given -fsanitize= list, in a
# build folder of their own (so that each stays incremental), without the
# benchmark: compilar_con_sanitizador address,undefined build-asan
compilar_con_sanitizador() {
  local banderas="-fsanitize=$1 -fno-omit-frame-pointer -fno-sanitize-recover=all"
  cmake -S "$RAIZ" -B "$RAIZ/$2" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMONDRIX_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$banderas" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$1" >/dev/null
  cmake --build "$RAIZ/$2" >&2
}

# Every C++ file of the project, for clang-format.
fuentes_cpp() {
  (cd "$RAIZ" && find src tests bench -name '*.cpp' -o -name '*.h' | sort)
}
