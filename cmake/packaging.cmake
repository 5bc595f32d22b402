# Installation and packages of both programs with their documents: a zip on Windows, a .tar.gz and a .deb on Linux.
set(texsift_documents README.md LICENSE THIRD-PARTY-NOTICES)
if(WIN32)
  # The zip holds the two .exe files and the documents side by side.
  set(texsift_bin_dir .)
  set(texsift_doc_dir .)
else()
  include(GNUInstallDirs)
  set(texsift_bin_dir ${CMAKE_INSTALL_BINDIR})
  set(texsift_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/texsift)
endif()
install(TARGETS texsift texsift_compact RUNTIME DESTINATION ${texsift_bin_dir})
install(FILES ${texsift_documents} DESTINATION ${texsift_doc_dir})

if(NOT WIN32)
  # The Debian copyright file: the licence in the machine-readable format,
  # each of its lines indented by one space and an empty line written ".".
  file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_lines)
  set(copyright
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: Texsift\n\nFiles: *\nCopyright: The Texsift authors\nLicense: Expat\n")
  foreach(line IN LISTS license_lines)
    if(line STREQUAL "")
      set(line ".")
    endif()
    list(APPEND copyright " ${line}\n")
  endforeach()
  list(APPEND copyright
    "\nComment: the notices of the libraries the programs carry are in THIRD-PARTY-NOTICES.\n")
  string(CONCAT copyright ${copyright})
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/package/copyright CONTENT "${copyright}")
  install(FILES ${PROJECT_BINARY_DIR}/package/copyright DESTINATION ${texsift_doc_dir})

  # The manual pages, with the version filled in, compressed as Debian installs them.
  set(man_pages)
  foreach(program Texsift Texsift-compact)
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
    configure_file(${PROJECT_SOURCE_DIR}/man/${program}.1.in ${page} @ONLY)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND gzip -9nc ${page} > ${page}.gz
      DEPENDS ${page} ${PROJECT_SOURCE_DIR}/man/${program}.1.in
      COMMENT "Compressing the manual page ${program}.1")
    list(APPEND man_pages ${page}.gz)
  endforeach()
  add_custom_target(texsift_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The .tar.gz, unlike the .deb, also carries the documents at its top:
  # cpack reads this file once per generator.
  foreach(document IN LISTS texsift_documents)
    configure_file(${document} ${PROJECT_BINARY_DIR}/package/top/${document} COPYONLY)
  endforeach()
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/package/generator.cmake CONTENT
    "if(CPACK_GENERATOR STREQUAL \"TGZ\")\n  set(CPACK_INSTALLED_DIRECTORIES \"${PROJECT_BINARY_DIR}/package/top;.\")\nendif()\n")
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/package/generator.cmake)
endif()

# The package names carry the project's version: Texsift-1.0.0-win64.zip,
# Texsift-1.0.0-Linux.tar.gz, texsift_1.0.0_amd64.deb.
set(CPACK_PACKAGE_NAME Texsift)
set(CPACK_PACKAGE_VENDOR "The Texsift authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Lists a game's textures and finds the files that refer to each of them")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
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
