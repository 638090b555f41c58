# brindle_warnings(target): the house warning set for the project's own code.
function(brindle_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough)
  if(BRINDLE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
