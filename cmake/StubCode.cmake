# The shipping stub is optimised across its libraries when it is linked. ld keeps every
# function of an object whose unwind table it keeps, so --gc-sections alone drops little
# of a C++ object; optimised as one program, code nothing calls is gone before code is
# generated. The libraries keep ordinary object code beside their optimiser form
# (-ffat-lto-objects), so tests and tools link them as before: without the linker plugin,
# which would otherwise read the optimiser form too and find every inline function
# defined twice.
add_link_options(-fno-use-linker-plugin)

function(ovra_stub_link_time_optimisation stub)
  foreach(library IN LISTS ARGN)
    target_compile_options(${library} PRIVATE -flto -ffat-lto-objects)
  endforeach()
  target_compile_options(${stub} PRIVATE -flto)
  # One partition: split into several, GCC 12 stops with an internal compiler error
  # (binds_to_current_def_p) in the payload parser's code.
  target_link_options(${stub} PRIVATE -flto -fuse-linker-plugin -flto-partition=one)
endfunction()
