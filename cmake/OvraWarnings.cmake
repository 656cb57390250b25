# Warnings for our own targets only; third-party C sources keep their own.
function(ovra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
