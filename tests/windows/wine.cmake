# The Windows build's tests run under Wine, each in a Wine prefix of its own;
# included before the test programs and the fuzz replays are made.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE sPthread OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE sStdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(sPthreadDir ${sPthread} DIRECTORY)
get_filename_component(sStdcxxDir ${sStdcxx} DIRECTORY)
set(WINE_ROOT ${CMAKE_BINARY_DIR}/wine)
set(WINE_DLL_PATH "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS};${sStdcxxDir};${sPthreadDir}")
set(WINE_FAILURES ${CMAKE_CURRENT_LIST_DIR}/wine-failures.txt)
set(QT_PLUGIN_DIR ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
