# cmake -DOBJDUMP=<objdump> -DFILES=<file;...> -P CheckImports.cmake
# Fails when a Windows program imports a DLL that a bare Windows installation lacks, such as
# the MinGW runtime (libstdc++-6.dll, libgcc_s_seh-1.dll, libwinpthread-1.dll): the programs
# must run when copied alone onto any machine.
cmake_minimum_required(VERSION 3.25)

set(system_dlls
  advapi32 comctl32 comdlg32 gdi32 gdiplus imm32 kernel32 msimg32 msvcrt ntdll ole32 oleaut32
  shell32 shlwapi user32 userenv uxtheme version winmm ws2_32 dwmapi bcrypt crypt32 secur32)

if(NOT OBJDUMP OR NOT FILES)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=<objdump> -DFILES=<file;...> -P CheckImports.cmake")
endif()

set(failures "")
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    string(APPEND failures "\n  ${file}: cannot be read by ${OBJDUMP}")
    continue()
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
  if(NOT names)
    string(APPEND failures "\n  ${file}: no imports found (not a Windows program?)")
    continue()
  endif()
  set(foreign "")
  foreach(line IN LISTS names)
    string(REGEX REPLACE "^DLL Name: ([^ ]+).*" "\\1" dll "${line}")
    string(TOLOWER "${dll}" dll)
    string(REGEX REPLACE "\\.dll$" "" base "${dll}")
    if(NOT base IN_LIST system_dlls AND NOT base MATCHES "^api-ms-win-")
      list(APPEND foreign ${dll})
    endif()
  endforeach()
  if(foreign)
    list(JOIN foreign ", " foreign)
    string(APPEND failures "\n  ${file}: imports ${foreign}")
  else()
    list(LENGTH names count)
    message(STATUS "${file}: ${count} DLLs, all system")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "Windows programs import DLLs that are not part of Windows:${failures}")
endif()
