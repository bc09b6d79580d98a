# atmocalc_string_table(<target> <file.rc>): the string table of a resource script, in every module that
# links <target>. On Windows the script is compiled as a resource; elsewhere its entries (`<number>
# "<text>"`, one a line, no escapes) become kModuleStrings (platform/system/ModuleString.h), which
# LoadModuleString reads. CMake reruns when the script changes.
function(atmocalc_string_table target rc)
  if(WIN32)
    target_sources(${target} INTERFACE ${rc})
    return()
  endif()
  file(STRINGS ${rc} lines ENCODING UTF-8 REGEX "^[ \t]*[0-9]+[ \t]+\".*\"[ \t]*$")
  set(entries "")
  set(count 0)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*([0-9]+)[ \t]+\"(.*)\"[ \t]*$" "    {\\1, u\"\\2\"}," entry "${line}")
    string(APPEND entries "${entry}\n")
    math(EXPR count "${count} + 1")
  endforeach()
  get_filename_component(name ${rc} NAME_WE)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${name}_strings.cpp")
  file(CONFIGURE OUTPUT "${out}" CONTENT
"// Generated from ${rc} by cmake/StringTable.cmake; do not edit.
#include \"platform/system/ModuleString.h\"
const ModuleStringEntry kModuleStrings[] = {
${entries}};
const std::size_t kModuleStringCount = ${count};
" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${rc}")
  target_sources(${target} INTERFACE "${out}")
endfunction()
