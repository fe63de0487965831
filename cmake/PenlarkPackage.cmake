# The Debian package: cpack -G DEB --config build/<preset>/CPackConfig.cmake builds
# penlark_<version>_amd64.deb. It installs below /usr, with the machine settings file
# /etc/penlark/registry.reg (a conffile naming /usr/share/penlark), and registers the office
# extension for every user in its maintainer scripts.

set(package_dir "${PROJECT_SOURCE_DIR}/packaging/deb")
set(package_build "${PROJECT_BINARY_DIR}/package")
set(package_prefix /usr)

# Only in the package: "cmake --install" leaves /etc alone.
file(WRITE "${package_build}/registry.reg"
  "Windows Registry Editor Version 5.00\n\n"
  "[HKEY_LOCAL_MACHINE\\Software\\Brackmoor\\Penlark\\2.0]\n"
  "\"InstallPath\"=\"${package_prefix}/share/penlark\"\n")
install(FILES "${package_build}/registry.reg" DESTINATION /etc/penlark
        COMPONENT package EXCLUDE_FROM_ALL)

configure_file("${package_dir}/changelog.in" "${package_build}/changelog" @ONLY)
add_custom_command(
  OUTPUT "${package_build}/changelog.gz"
  COMMAND gzip -9nf "${package_build}/changelog" -c > "${package_build}/changelog.gz"
  DEPENDS "${package_build}/changelog"
  VERBATIM)
add_custom_target(penlark_package_changelog ALL DEPENDS "${package_build}/changelog.gz")
install(FILES "${package_dir}/copyright" "${package_build}/changelog.gz"
        DESTINATION share/doc/penlark COMPONENT package EXCLUDE_FROM_ALL)
install(FILES "${package_dir}/lintian-overrides" DESTINATION share/lintian/overrides
        RENAME penlark COMPONENT package EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME penlark)
set(CPACK_PACKAGE_VENDOR "Penlark developers")
set(CPACK_PACKAGE_CONTACT "Penlark developers <penlark@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "open and save documents on a Tarnwell document server")
set(CPACK_PACKAGE_DESCRIPTION
  "Penlark opens, saves and saves under a new name word-processor documents\n"
  "kept on a Tarnwell document server, through its own Open/Save dialog. It\n"
  "adds a Tarnwell menu and toolbar to LibreOffice Writer and the service\n"
  "org.penlark.Tarnwell to its macros.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX "${package_prefix}")
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX "${package_prefix}")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${PROJECT_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
  "${PROJECT_BINARY_DIR};${PROJECT_NAME};package;/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://penlark.example.org/")
# The libraries' packages (libcurl, libxml2, Qt 6, the office's UNO runtime) come from the
# programs themselves; Writer is what the extension and the resident Penlark drive.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${LibreOffice_PROGRAM_DIR}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libreoffice-writer")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  "${package_dir}/postinst" "${package_dir}/prerm" "${package_dir}/conffiles")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
