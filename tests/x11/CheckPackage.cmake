# Packs the build with CPack's DEB generator and checks the package as Debian would: lintian
# finds no error, and it holds the saver, its settings description and its man page where the
# screen-saver daemon, its settings tool and man look for them.
#   cmake -DBUILD=<build folder> -DOUT=<scratch folder> -P CheckPackage.cmake
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND cpack -G DEB -B ${OUT} WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE result OUTPUT_QUIET)
file(GLOB package ${OUT}/ascenda_*_amd64.deb)
if(NOT result EQUAL 0 OR NOT package)
  message(FATAL_ERROR "cpack made no package: ${result}")
endif()
execute_process(COMMAND dpkg-deb -c ${package} OUTPUT_VARIABLE listing)
foreach(path libexec/xscreensaver/ascenda share/xscreensaver/config/ascenda.xml share/man/man6/ascenda.6.gz)
  if(NOT listing MATCHES " \\./usr/${path}\n")
    message(FATAL_ERROR "the package lacks /usr/${path}:\n${listing}")
  endif()
endforeach()
execute_process(COMMAND lintian --fail-on error ${package} RESULT_VARIABLE result OUTPUT_VARIABLE findings
                ERROR_VARIABLE findings)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian found errors:\n${findings}")
endif()
file(REMOVE_RECURSE ${OUT})
