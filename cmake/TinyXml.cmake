# TinyXML: the Debian package's library natively; for the Windows builds the sources of
# Debian's tinyxml source package, which scripts/bootstrap.sh unpacks into third-party/.
if(WIN32)
  set(OVRA_TINYXML_SOURCE ${CMAKE_SOURCE_DIR}/third-party/tinyxml
    CACHE PATH "TinyXML sources (Debian source package tinyxml, fetched by scripts/bootstrap.sh)")
  foreach(f tinyxml.h tinystr.h tinyxml.cpp tinystr.cpp tinyxmlerror.cpp tinyxmlparser.cpp)
    if(NOT EXISTS ${OVRA_TINYXML_SOURCE}/${f})
      message(FATAL_ERROR "TinyXML source ${OVRA_TINYXML_SOURCE}/${f} missing; run scripts/bootstrap.sh, "
        "which fetches them with `apt-get source tinyxml`")
    endif()
  endforeach()
  add_library(ovra_tinyxml STATIC
    ${OVRA_TINYXML_SOURCE}/tinyxml.cpp
    ${OVRA_TINYXML_SOURCE}/tinystr.cpp
    ${OVRA_TINYXML_SOURCE}/tinyxmlerror.cpp
    ${OVRA_TINYXML_SOURCE}/tinyxmlparser.cpp)
  target_compile_definitions(ovra_tinyxml PUBLIC TIXML_USE_STL)
  target_include_directories(ovra_tinyxml SYSTEM PUBLIC ${OVRA_TINYXML_SOURCE})
else()
  find_path(OVRA_TINYXML_INCLUDE tinyxml.h)
  find_library(OVRA_TINYXML_LIBRARY NAMES tinyxml)
  if(NOT OVRA_TINYXML_INCLUDE OR NOT OVRA_TINYXML_LIBRARY)
    message(FATAL_ERROR "TinyXML not found; run scripts/bootstrap.sh (Debian package libtinyxml-dev)")
  endif()
  add_library(ovra_tinyxml INTERFACE)
  target_compile_definitions(ovra_tinyxml INTERFACE TIXML_USE_STL)
  target_include_directories(ovra_tinyxml SYSTEM INTERFACE ${OVRA_TINYXML_INCLUDE})
  target_link_libraries(ovra_tinyxml INTERFACE ${OVRA_TINYXML_LIBRARY})
endif()
