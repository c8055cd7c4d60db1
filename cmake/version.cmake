# The one version of Corvane. project(VERSION) gives it; a build from a commit that is not tagged
# v<version> adds the short commit id ("1.0.0+1a2b3c4"), so two builds of different commits never
# carry the same version. Sets:
#   CORVANE_VERSION              the version as users read it, in every binary and package
#   CORVANE_SOURCE_DATE_EPOCH    the commit's time (SOURCE_DATE_EPOCH when given), for what the
#                                release stamps with a date
# and writes corvane_version.h (CORVANE_VERSION_MAJOR/MINOR/PATCH, CORVANE_VERSION) into
# ${CMAKE_BINARY_DIR}/generated, for the resource files and corvane-cli.
set(CORVANE_VERSION ${PROJECT_VERSION})
set(CORVANE_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")

find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse HEAD
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} RESULT_VARIABLE _failed
                  OUTPUT_VARIABLE _commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT _failed)
    # Seven digits always: git's own short form grows with the number of objects in a clone.
    string(SUBSTRING ${_commit} 0 7 _commit)
    execute_process(COMMAND ${GIT_EXECUTABLE} tag --points-at HEAD --list v${PROJECT_VERSION}
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE _tag OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT _tag STREQUAL "v${PROJECT_VERSION}")
      set(CORVANE_VERSION "${PROJECT_VERSION}+${_commit}")
    endif()
    if(CORVANE_SOURCE_DATE_EPOCH STREQUAL "")
      execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                      OUTPUT_VARIABLE CORVANE_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)
    endif()
    # A new commit configures again, so the id is never that of an older commit. (A tag made
    # later is seen at the next configure; scripts/release always configures.)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-path HEAD --symbolic-full-name HEAD
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE _out OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REPLACE "\n" ";" _out "${_out}")
    list(GET _out 0 _head)
    set(_watch ${_head})
    list(LENGTH _out _n)
    if(_n GREATER 1)
      list(GET _out 1 _ref)
      if(_ref MATCHES "^refs/")
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-path ${_ref} --git-path packed-refs
                        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                        OUTPUT_VARIABLE _more OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        string(REPLACE "\n" ";" _more "${_more}")
        list(APPEND _watch ${_more})
      endif()
    endif()
    foreach(_file ${_watch})
      get_filename_component(_file ${_file} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
      if(EXISTS ${_file})
        set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_file})
      endif()
    endforeach()
  endif()
endif()
if(CORVANE_SOURCE_DATE_EPOCH STREQUAL "")
  set(CORVANE_SOURCE_DATE_EPOCH 315532800)  # 1980-01-01, the earliest time a zip entry holds
endif()

set(CORVANE_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(CORVANE_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(CORVANE_VERSION_PATCH ${PROJECT_VERSION_PATCH})
configure_file(${CMAKE_CURRENT_LIST_DIR}/corvane_version.h.in
               ${CMAKE_BINARY_DIR}/generated/corvane_version.h @ONLY)
