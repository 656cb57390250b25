# Writes the tool's man page from its help texts: the tool's own --help and --version
# through help2man, and each command's --help as a section of its own.
#   cmake -DOVRAPACK=... -DHELP2MAN=... -DOUT=ovrapack.1 -P ManPage.cmake
foreach(var OVRAPACK HELP2MAN OUT)
  if(NOT ${var})
    message(FATAL_ERROR "ManPage.cmake needs -D${var}=...")
  endif()
endforeach()

set(include_file ${OUT}.include)
set(text "[NAME]\novrapack \\- build OvraSFX installers from a folder and read them back\n\n[COMMANDS]\n")
foreach(command pack list test extract info patch)
  execute_process(COMMAND ${OVRAPACK} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "'ovrapack ${command} --help' failed (${result})")
  endif()
  # The places a stub is looked for are this build's; the page states the rule.
  string(REGEX REPLACE "Without --stub the first of these is used:.*$"
    "Without --stub, the stub installed with the tool is used: <prefix>/share/ovrasfx/OvraSFX.exe\nfor a tool in <prefix>/bin, else OvraSFX.exe beside the tool.\n" help "${help}")
  # roff: backslashes escaped, no line may start with a control character.
  string(REPLACE "\\" "\\e" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(APPEND text ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
file(WRITE ${include_file} "${text}")

execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1 --include=${include_file} --output=${OUT} ${OVRAPACK}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "help2man failed (${result})")
endif()
