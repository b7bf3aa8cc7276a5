# Shared part of the two mingw toolchain files; MINGW_TRIPLE is set by the caller.
# On MSYS2 the compilers carry no "-posix" suffix; prefer the suffixed Debian names when present.
find_program(MINGW_CXX NAMES ${MINGW_TRIPLE}-g++-posix ${MINGW_TRIPLE}-g++ REQUIRED)
find_program(MINGW_CC NAMES ${MINGW_TRIPLE}-gcc-posix ${MINGW_TRIPLE}-gcc REQUIRED)
find_program(MINGW_RC NAMES ${MINGW_TRIPLE}-windres windres REQUIRED)
set(CMAKE_C_COMPILER ${MINGW_CC})
set(CMAKE_CXX_COMPILER ${MINGW_CXX})
set(CMAKE_RC_COMPILER ${MINGW_RC})
if(EXISTS /usr/${MINGW_TRIPLE})
  set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: every program and library runs on a bare Windows without mingw DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
