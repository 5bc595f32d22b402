# Cross-compiles for 64-bit ARM Linux with Debian's aarch64 toolchain; tests run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
# zlib has no cross package in Debian: the build takes Debian's arm64 one (zlib1g-dev:arm64, see
# tools/install-deps), which lies outside the root above: its library in /usr/lib/aarch64-linux-gnu,
# its header in /usr/include, shared by every architecture. The compiler searches both after its own.
set(ZLIB_LIBRARY /usr/lib/aarch64-linux-gnu/libz.so CACHE FILEPATH "zlib1g-dev:arm64's library")
set(ZLIB_INCLUDE_DIR /usr/include CACHE PATH "zlib.h, the same for every architecture")
