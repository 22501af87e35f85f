# Warnings for our own targets; third-party headers come in as system includes.
function(quillet_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QUILLET_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
