# cmake -DSOURCE=<unpacked source> -DWORK=<copy> -DPATCH=<patch program> -P prepare_source.cmake
# Makes WORK a fresh copy of SOURCE, then applies each patch of debian/patches/series that is not in
# it yet: dpkg-source normally applied them all and listed them in .pc/applied-patches. A patch that
# does not apply cleanly is skipped with a warning.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE}/ DESTINATION ${WORK} PATTERN .pc EXCLUDE)

set(in_tree)
if(EXISTS ${SOURCE}/.pc/applied-patches)
  file(STRINGS ${SOURCE}/.pc/applied-patches in_tree)
endif()
file(STRINGS ${WORK}/debian/patches/series series REGEX "^[^#]")
set(applied 0)
foreach(name IN LISTS series)
  string(STRIP "${name}" name)
  set(file ${WORK}/debian/patches/${name})
  if(name IN_LIST in_tree)
    continue()
  endif()
  execute_process(COMMAND ${PATCH} -p1 -R -s -f --dry-run -i ${file}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE reversible OUTPUT_QUIET ERROR_QUIET)
  if(reversible EQUAL 0)
    continue()
  endif()
  execute_process(COMMAND ${PATCH} -p1 -s -f --dry-run -i ${file}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
  if(failed)
    message(WARNING "UnZip: Debian patch ${name} does not apply; skipped")
    continue()
  endif()
  execute_process(COMMAND ${PATCH} -p1 -s -f -i ${file} WORKING_DIRECTORY ${WORK} COMMAND_ERROR_IS_FATAL ANY)
  math(EXPR applied "${applied} + 1")
endforeach()
list(LENGTH series total)
message(STATUS "UnZip: ${total} Debian patches, ${applied} of them applied to the copy")
file(TOUCH ${WORK}/prepared)
