# The Windows version resource of each program, from the one version in project().

# Gives `target` (a program whose file is `internal_name`.exe) a version
# resource with `description`; nothing elsewhere than Windows.
function(texsift_version_resource target internal_name description)
  if(NOT WIN32)
    return()
  endif()
  set(TEXSIFT_INTERNAL_NAME ${internal_name})
  set(TEXSIFT_FILE_NAME ${internal_name}.exe)
  set(TEXSIFT_FILE_DESCRIPTION ${description})
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${resource} @ONLY)
  # A library of its own, so that the C++ settings and warnings never reach windres.
  add_library(${target}_version OBJECT ${resource})
  target_link_libraries(${target} PRIVATE ${target}_version)
endfunction()
