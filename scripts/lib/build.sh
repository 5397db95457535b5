#!/usr/bin/env bash
# The one way the scripts build lumora: install what is missing, configure a build folder and
# build it, or some of its targets, with a job for every core.
#
#   source scripts/lib/build.sh; lumora_build FOLDER [TARGET...]     from a bash script
#   scripts/lib/build.sh FOLDER [TARGET...]                          from anywhere else
#
# Every folder has one build type and one set of options, and they are written only here, so
# no two scripts configure a folder differently and none makes another rebuild everything.
# Running any script again after any other compiles only what changed in the sources.

LUMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# The configure options of each build folder; a folder not named here is refused.
lumora_build_options() {  # FOLDER
  case "$1" in
    # The one most things use: scripts/run, test and gallery, and the guides' paths.
    build) echo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMORA_SIMD=ON -DLUMORA_SANITIZE=OFF \
      -DLUMORA_TESTS=ON -DLUMORA_FUZZ=OFF ;;
    # Without SSE2: the fast paths must still give what the straightforward ones give.
    build-plain) echo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMORA_SIMD=OFF -DLUMORA_SANITIZE=OFF \
      -DLUMORA_TESTS=ON -DLUMORA_FUZZ=OFF ;;
    # AddressSanitizer and UndefinedBehaviorSanitizer: scripts/test's second round, the soak.
    build-asan) echo -DCMAKE_BUILD_TYPE=Debug -DLUMORA_SIMD=ON -DLUMORA_SANITIZE=ON \
      -DLUMORA_TESTS=ON -DLUMORA_FUZZ=OFF ;;
    # The libFuzzer targets, which need clang.
    build-fuzz) echo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DLUMORA_SIMD=ON -DLUMORA_SANITIZE=OFF -DLUMORA_TESTS=OFF -DLUMORA_FUZZ=ON ;;
    # What the benchmarks measure.
    build-release) echo -DCMAKE_BUILD_TYPE=Release -DLUMORA_SIMD=ON -DLUMORA_SANITIZE=OFF \
      -DLUMORA_TESTS=OFF -DLUMORA_FUZZ=OFF ;;
    # The Debian package's: Debian's hardening flags, the window programs in games/.
    build-package) echo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMORA_SIMD=ON -DLUMORA_SANITIZE=OFF \
      -DLUMORA_TESTS=OFF -DLUMORA_FUZZ=OFF -DLUMORA_DEBIAN_PACKAGE=ON ;;
    *)
      echo "lumora_build: no build folder '$1' (build, build-plain, build-asan, build-fuzz," \
        "build-release, build-package)" >&2
      return 2
      ;;
  esac
}

# Installs the missing Debian packages of a set (scripts/install-deps: build, video or test),
# once a set for a script and the scripts it starts.
lumora_install_deps() {  # [SET]
  local set_name="${1:-build}"
  case " ${LUMORA_DEPS_INSTALLED:-} " in *" $set_name "*) return 0 ;; esac
  "$LUMORA_ROOT/scripts/install-deps" "$set_name" || return
  export LUMORA_DEPS_INSTALLED="${LUMORA_DEPS_INSTALLED:-} $set_name"
}

# Configures FOLDER (under the repository's root) with its options and builds TARGETs, or
# everything. The build's lines go to standard output; configuring shows only its warnings
# and errors.
lumora_build() {  # FOLDER [TARGET...]
  local folder="$1" options
  shift
  options="$(lumora_build_options "$folder")" || return
  # The fuzzers need clang, the package dpkg-dev; every other folder only the build set.
  case "$folder" in
    build-fuzz | build-package) lumora_install_deps test || return ;;
    *) lumora_install_deps build || return ;;
  esac
  # shellcheck disable=SC2086  # the options are words
  cmake -S "$LUMORA_ROOT" -B "$LUMORA_ROOT/$folder" $options >/dev/null || return
  cmake --build "$LUMORA_ROOT/$folder" -j"$(nproc)" ${1:+--target "$@"}
}

# Run rather than sourced: build what the arguments name.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  [ $# -ge 1 ] || { echo "usage: scripts/lib/build.sh FOLDER [TARGET...]" >&2; exit 2; }
  lumora_build "$@"
fi
