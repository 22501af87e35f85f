# Warnings for our own targets; third-party headers come in as system includes.
function(quillet_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QUILLET_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    # g++ 12 reports -Wrestrict inside std::string's own inlined code at -O2
    # and above (GCC bug 105329): keep the warning, but not as an error.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-error=restrict)
    endif()
  endif()
endfunction()
