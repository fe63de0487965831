# Finds the LibreOffice SDK and the office it belongs to, for C++ UNO clients.
#
# Sets LibreOfficeSdk_FOUND, LibreOffice_PROGRAM_DIR (the office's program folder: soffice.bin,
# fundamentalrc, the type registries) and defines
#   LibreOffice::Uno                          the UNO runtime: SDK headers, definitions, libraries
#   libreoffice_generate_headers(TARGET OUTPUT_DIR TYPES type... [REGISTRIES rdb...])
#                                             a target that runs cppumaker for the listed types
#                                             (and the types they use) into OUTPUT_DIR; the
#                                             office's types, and those of the REGISTRIES
#
# The SDK ships no headers for the office's API types: they are generated at build time from the
# type registries. LibreOffice_ROOT may point to another installation than the system one.

find_path(LibreOffice_PROGRAM_DIR
  NAMES fundamentalrc
  PATHS "${LibreOffice_ROOT}/program" /usr/lib/libreoffice/program /opt/libreoffice/program
  NO_DEFAULT_PATH)
find_path(LibreOfficeSdk_INCLUDE_DIR
  NAMES sal/config.h
  PATHS "${LibreOffice_ROOT}/sdk/include" /usr/lib/libreoffice/sdk/include
        /opt/libreoffice/sdk/include
  NO_DEFAULT_PATH)
get_filename_component(sdk_dir "${LibreOfficeSdk_INCLUDE_DIR}" DIRECTORY)
find_program(LibreOfficeSdk_CPPUMAKER cppumaker PATHS "${sdk_dir}/bin" NO_DEFAULT_PATH)

set(uno_library_vars)
foreach(library uno_cppuhelpergcc3 uno_cppu uno_salhelpergcc3 uno_sal)
  find_library(LibreOfficeSdk_${library}_LIBRARY ${library} PATHS "${sdk_dir}/lib" NO_DEFAULT_PATH)
  list(APPEND uno_library_vars LibreOfficeSdk_${library}_LIBRARY)
endforeach()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(LibreOfficeSdk
  REQUIRED_VARS LibreOffice_PROGRAM_DIR LibreOfficeSdk_INCLUDE_DIR LibreOfficeSdk_CPPUMAKER
                ${uno_library_vars})

if(LibreOfficeSdk_FOUND AND NOT TARGET LibreOffice::Uno)
  add_library(LibreOffice::Uno INTERFACE IMPORTED)
  set(uno_libraries)
  foreach(variable IN LISTS uno_library_vars)
    list(APPEND uno_libraries "${${variable}}")
  endforeach()
  # The SDK's libraries are links into the program folder, where the office's own copies of
  # their dependencies live: resolve and run against that folder.
  set_target_properties(LibreOffice::Uno PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${LibreOfficeSdk_INCLUDE_DIR}"
    INTERFACE_COMPILE_DEFINITIONS "LINUX;UNX;GCC;CPPU_ENV=gcc3"
    INTERFACE_LINK_LIBRARIES "${uno_libraries}"
    INTERFACE_LINK_OPTIONS
      "LINKER:-rpath-link,${LibreOffice_PROGRAM_DIR};LINKER:-rpath,${LibreOffice_PROGRAM_DIR}")
endif()

function(libreoffice_generate_headers target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "OUTPUT_DIR" "TYPES;REGISTRIES")
  set(registries "${LibreOffice_PROGRAM_DIR}/types.rdb" "${LibreOffice_PROGRAM_DIR}/types/offapi.rdb"
      ${arg_REGISTRIES})
  list(JOIN arg_TYPES "$<SEMICOLON>" type_list)
  set(stamp "${arg_OUTPUT_DIR}.stamp")
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND "${CMAKE_COMMAND}" -E rm -rf "${arg_OUTPUT_DIR}"
    COMMAND "${LibreOfficeSdk_CPPUMAKER}" "-O${arg_OUTPUT_DIR}" "-T${type_list}" ${registries}
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${registries}
    COMMENT "Generating UNO headers for ${target}"
    VERBATIM)
  add_custom_target(${target} DEPENDS "${stamp}")
endfunction()
