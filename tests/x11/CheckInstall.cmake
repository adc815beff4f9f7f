# Installs the build into a fresh prefix and checks that the saver, its settings description, its
# MATE entry and its man page land where the X11 screen-saver daemon, MATE and man look for them.
#   cmake -DBUILD=<build folder> -DPREFIX=<empty folder> -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path libexec/xscreensaver/ascenda share/xscreensaver/config/ascenda.xml share/man/man6/ascenda.6.gz
             share/applications/screensavers/ascenda.desktop share/doc/ascenda/copyright)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
execute_process(COMMAND ${PREFIX}/libexec/xscreensaver/ascenda --help RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed saver does not run: ${result}")
endif()
file(REMOVE_RECURSE ${PREFIX})
