#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the builds and tests need and this machine lacks.
set -euo pipefail

declare -A wanted=(
  [cmake]=cmake
  [g++]=g++
  [clang++]=clang
  [git]=git
  [x86_64-w64-mingw32-g++-posix]=g++-mingw-w64-x86-64-posix
  [x86_64-w64-mingw32-windres]=binutils-mingw-w64-x86-64
  [wine]="wine wine64"
)
missing=()
for tool in "${!wanted[@]}"; do
  command -v "$tool" >/dev/null 2>&1 || missing+=(${wanted[$tool]})
done
[ -f /usr/include/gtest/gtest.h ] && [ -d /usr/src/googletest ] || missing+=(libgtest-dev googletest)
[ -f /usr/include/benchmark/benchmark.h ] || missing+=(libbenchmark-dev)
[ -d /usr/x86_64-w64-mingw32/include ] || missing+=(mingw-w64-x86-64-dev)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
  missing+=(libclang-rt-dev)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
