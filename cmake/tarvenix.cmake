# Shared build settings and the helpers every folder uses to declare its targets.

# Rebuilds after a branch switch or in a second work tree are mostly cache hits.
find_program(TARVENIX_CCACHE ccache)
if(TARVENIX_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${TARVENIX_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${TARVENIX_CCACHE})
endif()

# Header-only libraries from Debian live in /usr/include; the cross build must not see the
# rest of that folder, so only these three are linked into a folder of their own.
set(TARVENIX_VENDOR_INCLUDE ${CMAKE_BINARY_DIR}/vendor-include)
file(MAKE_DIRECTORY ${TARVENIX_VENDOR_INCLUDE})
foreach(lib rapidxml nlohmann doctest)
  if(NOT EXISTS ${TARVENIX_VENDOR_INCLUDE}/${lib})
    file(CREATE_LINK /usr/include/${lib} ${TARVENIX_VENDOR_INCLUDE}/${lib} SYMBOLIC)
  endif()
endforeach()

if(WIN32)
  # The import library would pull in zlib1.dll; our programs are self-contained.
  set(ZLIB_LIBRARY ${CMAKE_FIND_ROOT_PATH}/lib/libz.a CACHE FILEPATH "" FORCE)
endif()
find_package(ZLIB REQUIRED)
# Debian's Python, with openpyxl: the samples are made with it, the tests run it.
find_program(TARVENIX_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

set(TARVENIX_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wno-missing-field-initializers)
# Reproducible programs: no build folder in them (the source folder reads as "."), and no
# link time in a Windows program's header.
set(TARVENIX_PREFIX_MAP $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>)
set(TARVENIX_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

# Flags every target of ours gets.
function(tarvenix_target_defaults target)
  target_compile_options(${target} PRIVATE ${TARVENIX_WARNINGS} ${TARVENIX_PREFIX_MAP})
  target_include_directories(${target} SYSTEM PRIVATE ${TARVENIX_VENDOR_INCLUDE})
  if(WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
  endif()
  if(TARVENIX_SANITIZE)
    target_compile_options(${target} PRIVATE ${TARVENIX_SANITIZERS})
    target_link_options(${target} PRIVATE ${TARVENIX_SANITIZERS})
  endif()
  if(TARVENIX_FUZZ)
    # The libraries too, so libFuzzer sees their coverage and the sanitizers their faults.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endif()
endfunction()

# tarvenix_library(name SOURCES a.cpp ... [DEPS lib ...])
# Headers are included as "folder/file.h" from src/.
function(tarvenix_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_include_directories(${name} SYSTEM PUBLIC ${TARVENIX_VENDOR_INCLUDE})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  tarvenix_target_defaults(${name})
endfunction()

# tarvenix_program(name SOURCES a.cpp ... [DEPS lib ...])
function(tarvenix_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  tarvenix_target_defaults(${name})
endfunction()
