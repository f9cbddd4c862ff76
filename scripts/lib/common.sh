# Shared by the scripts: where the tree and the build live, and how to build.
FAI_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
FAI_BUILD=${FAI_BUILD:-$FAI_ROOT/build}
FAI_BUILD_SANITIZED=${FAI_BUILD_SANITIZED:-$FAI_ROOT/build-asan}

# fai_build [TARGET...]: configures and builds the named targets, or everything.
fai_build() {
  local targets=()
  for target in "$@"; do targets+=(--target "$target"); done
  cmake -S "$FAI_ROOT" -B "$FAI_BUILD" -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE:-RelWithDebInfo} >/dev/null
  cmake --build "$FAI_BUILD" -j2 "${targets[@]}"
}

# fai_build_sanitized: the server side, its tests and its fuzz targets, built by clang with
# AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer in a tree of their own.
fai_build_sanitized() {
  cmake -S "$FAI_ROOT" -B "$FAI_BUILD_SANITIZED" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DFAI_SANITIZE=ON >/dev/null
  cmake --build "$FAI_BUILD_SANITIZED" -j2
}

# Undefined behaviour is reported with the stack that led to it (it ends the process anyway).
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
