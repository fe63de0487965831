# Shared settings for every target of the project.

# Compiler warnings, on for all our own code.
function(penlark_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Wcast-qual
    -Wformat=2 -Wimplicit-fallthrough
    # Designated initializers leave members at their defaults on purpose.
    -Wno-missing-field-initializers
    # GCC 12 reports impossible overlaps in inlined std::string appends at -O3 (its bug 105329).
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<CONFIG:Release>>:-Wno-restrict>)
  if(PENLARK_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A library of one src/ folder: penlark_<name>, aliased penlark::<name>.
# Headers are included as "<folder>/<Header>.h" from src/.
function(penlark_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;PUBLIC_LINKS;PRIVATE_LINKS")
  add_library(penlark_${name} STATIC ${arg_SOURCES})
  add_library(penlark::${name} ALIAS penlark_${name})
  target_include_directories(penlark_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(penlark_${name} PUBLIC ${arg_PUBLIC_LINKS} PRIVATE ${arg_PRIVATE_LINKS})
  penlark_warnings(penlark_${name})
endfunction()

# A program of apps/.
function(penlark_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LINKS")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LINKS})
  penlark_warnings(${name})
  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
