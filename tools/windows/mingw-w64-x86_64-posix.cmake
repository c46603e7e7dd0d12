# Cross-compiles for 64-bit Windows with Debian's MinGW-w64, posix thread model
# (std::thread and std::mutex need it). Used by tools/build-windows.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_davirodir_triple x86_64-w64-mingw32)

set(CMAKE_C_COMPILER /usr/bin/${_davirodir_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${_davirodir_triple}-g++-posix)
set(CMAKE_RC_COMPILER /usr/bin/${_davirodir_triple}-windres)
set(CMAKE_AR /usr/bin/${_davirodir_triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${_davirodir_triple}-gcc-ranlib-posix CACHE FILEPATH "")

# Target headers and libraries come from the MinGW sysroot and from the
# cross-built libpng/libjpeg prefix; programs (juceaide) from the host; JUCE's
# CMake config is the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${_davirodir_triple})
if(DAVIRODIR_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${DAVIRODIR_WINDOWS_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# One self-contained exe: no libgcc, libstdc++ or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
