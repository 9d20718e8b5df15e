# The icon and version information that Explorer shows for a Windows program.
# z5_windows_resources(TARGET "description") adds them to TARGET when building for Windows.
function(z5_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(PROGRAM_NAME ${target})
  set(PROGRAM_FILE ${target}.exe)
  set(PROGRAM_DESCRIPTION "${description}")
  set(PROGRAM_ICON "${PROJECT_SOURCE_DIR}/packaging/windows/z5-configurator.ico")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
