# One interface target carries the language level, warnings and sanitizer flags
# for every target of the project.
add_library(tavrin_build INTERFACE)
target_compile_options(tavrin_build INTERFACE -Wall -Wextra -Wpedantic)
if(TAVRIN_WERROR)
  target_compile_options(tavrin_build INTERFACE -Werror)
endif()
if(TAVRIN_SANITIZE)
  target_compile_options(tavrin_build INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tavrin_build INTERFACE -fsanitize=address,undefined)
endif()

if(TAVRIN_FUZZ)
  # Coverage for libFuzzer in every library the fuzz targets link.
  target_compile_options(tavrin_build INTERFACE -fsanitize=fuzzer-no-link)
endif()

# tavrin_library(NAME SOURCES... LIBS ...): one src/ folder as a static library.
function(tavrin_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC tavrin_build ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()
