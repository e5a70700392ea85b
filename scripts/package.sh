#!/usr/bin/env bash
# Builds the release artefacts of the last commit into dist/: the zip archive, the MSI and
# SHA256SUMS. Each build is a Release build of a fresh copy of HEAD in a temporary folder,
# dated by the commit (SOURCE_DATE_EPOCH), so that the same commit gives the same bytes.
#   scripts/package.sh           writes dist/
#   scripts/package.sh --check   builds twice, in two temporary folders, and compares every
#                                artefact byte for byte; writes nothing
set -euo pipefail
source "$(dirname "$0")/lib.sh"

check=false
case "${1:-}" in
  "") ;;
  --check) check=true ;;
  *) echo "usage: scripts/package.sh [--check]" >&2; exit 2 ;;
esac

if [ -n "$(git -C "$ROOT" status --porcelain)" ]; then
  echo "package.sh: the tree has uncommitted changes; artefacts are made from a commit" >&2
  exit 1
fi
qm_install wixl msitools
# One commit for the whole run, whatever happens to the branch meanwhile.
commit=$(git -C "$ROOT" rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# build_release FOLDER OUT: a clean Release build of HEAD below FOLDER, its artefacts in OUT.
build_release() {
  local folder=$1 out=$2 src=$1/src build=$1/build version
  mkdir -p "$src" "$out"
  git -C "$ROOT" archive --format=tar "$commit" | tar -x -C "$src"
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >"$folder/configure.log"
  cmake --build "$build" --target quillmoor quillmoor-cli msi -- -j"$(nproc)" >"$folder/build.log" ||
    { cat "$folder/build.log"; return 1; }
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  cp "$build/quillmoor-$version-x64.msi" "$out/"
  python3 "$src/packaging/make-zip.py" --source "$src" --bin "$build" --output "$out/quillmoor-$version-x64.zip"
  (cd "$out" && sha256sum "quillmoor-$version-x64.zip" "quillmoor-$version-x64.msi" >SHA256SUMS)
  # Nothing of the machine's folders may stay in what ships.
  local exe
  for exe in quillmoor.exe quillmoor-cli.exe; do
    if strings -a "$build/$exe" | grep -F -e "$folder" -e "$ROOT" >&2; then
      echo "package.sh: $exe holds a build path" >&2
      return 1
    fi
  done
  cp "$build/quillmoor.exe" "$build/quillmoor-cli.exe" "$folder/"
}

if ! $check; then
  build_release "$work/release" "$work/dist"
  rm -rf "$ROOT/dist"
  mkdir -p "$ROOT/dist"
  cp "$work/dist/"* "$ROOT/dist/"
  echo "dist/ (commit ${commit:0:12}, SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH):"
  (cd "$ROOT/dist" && cat SHA256SUMS && sha256sum -c --quiet SHA256SUMS)
  exit 0
fi

# Two folders of different depth, built one after the other.
build_release "$work/first" "$work/first/dist"
build_release "$work/second-build/b" "$work/second-build/b/dist"
different=0
for artefact in quillmoor.exe quillmoor-cli.exe $(cd "$work/first/dist" && ls); do
  a=$work/first/$artefact b=$work/second-build/b/$artefact
  [ -f "$a" ] || { a=$work/first/dist/$artefact; b=$work/second-build/b/dist/$artefact; }
  if cmp -s "$a" "$b"; then
    echo "same       $(sha256sum <"$a" | cut -d' ' -f1)  $artefact"
  else
    echo "DIFFERENT  $(sha256sum <"$a" | cut -d' ' -f1) / $(sha256sum <"$b" | cut -d' ' -f1)  $artefact"
    different=1
  fi
done
exit $different
