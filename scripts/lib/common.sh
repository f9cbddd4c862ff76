# Shared by the scripts: where the tree and the build live, and how to build.
FAI_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
FAI_BUILD=${FAI_BUILD:-$FAI_ROOT/build}

# fai_build [TARGET...]: configures and builds the named targets, or everything.
fai_build() {
  local targets=()
  for target in "$@"; do targets+=(--target "$target"); done
  cmake -S "$FAI_ROOT" -B "$FAI_BUILD" -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE:-RelWithDebInfo} >/dev/null
  cmake --build "$FAI_BUILD" -j2 "${targets[@]}"
}
