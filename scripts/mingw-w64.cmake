# Cross-building for 64-bit Windows with Debian's MinGW-w64, for the static Qt and for the
# trainer alike (scripts/windows.sh). The posix thread model is the one Qt needs: the win32
# model of this compiler has no std::mutex or std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_ZIEL x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_ZIEL}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_ZIEL}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_ZIEL}-windres)

# Libraries and packages come from the compiler's own tree and from the static Qt named by
# SELVAROT_QT (the trainer's build), never from the build machine; its programs (moc, rcc,
# uic) come from the build machine's Qt through QT_HOST_PATH.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_ZIEL})
if(SELVAROT_QT)
    list(PREPEND CMAKE_FIND_ROOT_PATH "${SELVAROT_QT}")
    if(NOT "${SELVAROT_QT}/lib/cmake" IN_LIST CMAKE_PREFIX_PATH)
        list(PREPEND CMAKE_PREFIX_PATH "${SELVAROT_QT}/lib/cmake")
    endif()
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SELVAROT_QT)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A program that needs no DLL beside it: libstdc++, libgcc and winpthread linked in, and the
# code of the static libraries that nothing calls left out.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections")
