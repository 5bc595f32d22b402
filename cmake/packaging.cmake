# Installation and packages of both programs with the README: a zip on Windows, a .tar.gz and a .deb on Linux.
if(WIN32)
  # The zip holds the two .exe files and the README side by side.
  set(texsift_bin_dir .)
  set(texsift_doc_dir .)
else()
  include(GNUInstallDirs)
  set(texsift_bin_dir ${CMAKE_INSTALL_BINDIR})
  set(texsift_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/texsift)
endif()
install(TARGETS texsift texsift_compact RUNTIME DESTINATION ${texsift_bin_dir})
install(FILES README.md DESTINATION ${texsift_doc_dir})

# The package names carry the project's version: Texsift-1.0.0-win64.zip,
# Texsift-1.0.0-Linux.tar.gz, texsift_1.0.0_amd64.deb.
set(CPACK_PACKAGE_NAME Texsift)
set(CPACK_PACKAGE_VENDOR Texsift)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Lists a game's textures and finds the files that refer to each of them")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_DEBIAN_PACKAGE_NAME texsift)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Texsift developers <dev@texsift.invalid>")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  # Below the summary, which is the description's first line.
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Texsift and Texsift-compact take a game's root folder, list every texture\n"
    "under gamedata\\textures\\, and search every other file of the tree, byte\n"
    "for byte, for the names the game uses for them. The report tells which\n"
    "files refer to each texture, at which offset, and which textures no file\n"
    "refers to; --json and --csv write it as JSON Lines or CSV.")
  # The libraries the programs link against, as dpkg-shlibdeps finds them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
