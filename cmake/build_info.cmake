# What the programs tell about their build: the version, the commit, and the commit's date as
# the build date, so that two builds of one commit are the same byte for byte. A set
# SOURCE_DATE_EPOCH wins over the commit's date; without git the commit is "unknown".
set(TARVENIX_COMMIT unknown)
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${CMAKE_SOURCE_DIR}/.git)
  execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%h%n%ct
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE commit_lines
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_status)
  if(git_status EQUAL 0 AND commit_lines)
    string(REPLACE "\n" ";" commit_lines "${commit_lines}")
    list(GET commit_lines 0 TARVENIX_COMMIT)
    list(GET commit_lines 1 commit_epoch)
    if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
      set(ENV{SOURCE_DATE_EPOCH} ${commit_epoch})
    endif()
  endif()
endif()

# string(TIMESTAMP) reads SOURCE_DATE_EPOCH. The date and time are written as __DATE__ and
# __TIME__ write them ("Dec  7 2026", "01:45:12"); the day also as ISO 8601 for the manual.
string(TIMESTAMP TARVENIX_BUILD_DATE "%b %d %Y" UTC)
string(REGEX REPLACE "^([A-Za-z]+) 0" "\\1  " TARVENIX_BUILD_DATE "${TARVENIX_BUILD_DATE}")
string(TIMESTAMP TARVENIX_BUILD_TIME "%H:%M:%S" UTC)
string(TIMESTAMP TARVENIX_BUILD_DAY "%Y-%m-%d" UTC)

set(TARVENIX_BUILD_INFO_DIR ${CMAKE_BINARY_DIR}/build-info)
configure_file(${CMAKE_CURRENT_LIST_DIR}/build_info.h.in ${TARVENIX_BUILD_INFO_DIR}/build_info.h
               @ONLY)
add_library(tarvenix_build_info INTERFACE)
target_include_directories(tarvenix_build_info INTERFACE ${TARVENIX_BUILD_INFO_DIR})
