# The Windows build: 32-bit, MinGW-w64 with the posix thread model (the win32 model has no std::mutex),
# every program and the plug-in linked fully static, so that they need no libstdc++, libgcc or
# winpthread DLL beside them.
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake \
#         -DATMOCALC_THIRD_PARTY=<prefix of the libraries built by cmake/win-third-party.sh>
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# Libraries and headers come from the MinGW-w64 runtime and the third-party prefix only; programs
# (wine, windres) from the build machine.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ATMOCALC_THIRD_PARTY)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${ATMOCALC_THIRD_PARTY})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The prefix installs CMake packages for libxml2, libxslt, pugixml and GoogleTest that carry their
# static-library definitions (LIBXML_STATIC, ...), which CMake's own find modules do not know.
set(CMAKE_FIND_PACKAGE_PREFER_CONFIG ON)

# Doubles are computed in double precision with SSE2, as on x86-64, not in the x87 unit's 80 bits: the
# same input then gives the same last digits on both systems. The stack is realigned where SSE needs it,
# since a host may call in with only 4-byte alignment.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)
