# atmocalc_embed(<target> <symbol> <file>): compiles the bytes of <file> into <target> as
#   extern const std::string_view <symbol>;
# CMake reruns when the file changes, so the program always carries the delivered version.
function(atmocalc_embed target symbol file)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp")
  file(CONFIGURE OUTPUT "${out}" CONTENT
"// Generated from ${file} by cmake/Embed.cmake; do not edit.
#include <string_view>
namespace { const char data[] = {${bytes} 0}; }
extern const std::string_view ${symbol}(data, sizeof data - 1);
" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
  target_sources(${target} PRIVATE "${out}")
endfunction()
