# fennlow_warnings(target): the warning set for Fennlow's own code (third-party code is built without it).
function(fennlow_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(FENNLOW_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
