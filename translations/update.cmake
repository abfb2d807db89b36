# Brings the catalogs up to date with the sources: every text the sources translate gets an
# entry (marked unfinished until a translator fills it in), texts no longer in the sources
# are dropped. Run by scripts/update-translations, and by the test of the catalogs on copies:
#   cmake -DLUPDATE=/usr/lib/qt6/bin/lupdate [-DOUTPUT_DIR=folder] -P translations/update.cmake
# OUTPUT_DIR receives updated copies instead of the catalogs themselves.
cmake_minimum_required(VERSION 3.25)
get_filename_component(_project ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
include(${CMAKE_CURRENT_LIST_DIR}/catalogs.cmake)
if(NOT LUPDATE)
  message(FATAL_ERROR "LUPDATE names Qt's lupdate")
endif()
if(NOT OUTPUT_DIR)
  set(OUTPUT_DIR ${CMAKE_CURRENT_LIST_DIR})
endif()
file(MAKE_DIRECTORY ${OUTPUT_DIR})
foreach(_catalog ${QUILL_CATALOGS})
  set(_sources)
  foreach(_pattern ${QUILL_CATALOG_SOURCES_${_catalog}})
    if(_pattern MATCHES "\\*")
      file(GLOB _found ${_project}/${_pattern})
      list(SORT _found)
      list(APPEND _sources ${_found})
    else()
      list(APPEND _sources ${_project}/${_pattern})
    endif()
  endforeach()
  foreach(_language ${QUILL_LANGUAGES})
    set(_ts ${OUTPUT_DIR}/${_catalog}_${_language}.ts)
    if(NOT OUTPUT_DIR STREQUAL CMAKE_CURRENT_LIST_DIR)
      file(COPY_FILE ${CMAKE_CURRENT_LIST_DIR}/${_catalog}_${_language}.ts ${_ts})
    endif()
    execute_process(
      COMMAND ${LUPDATE} -silent -locations none -no-obsolete -extensions cpp,h
              -I ${_project}/src -I ${_project}/app -target-language ${_language}
              ${_sources} -ts ${_ts}
      RESULT_VARIABLE _status)
    if(NOT _status EQUAL 0)
      message(FATAL_ERROR "lupdate failed on ${_ts}")
    endif()
  endforeach()
endforeach()
