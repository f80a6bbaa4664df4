# Run as a script (cmake -DSOURCE=<root> -P CheckLayers.cmake) by every
# build: fails where a file includes a header of a layer above its own.
# Includes name their folder from the repository's root, so the folder a
# header comes from is its layer. Each folder lists what it may include.
cmake_minimum_required(VERSION 3.25)
set(aLayers core resources records platform engine ui app tools/cli tools/boardsim)
set(aMay_core core)
set(aMay_resources resources)
set(aMay_records core records)
set(aMay_platform core platform)
set(aMay_engine core resources records platform engine)
set(aMay_ui core resources records platform engine ui)
set(aMay_app core resources records platform engine ui app)
set(aMay_tools_cli core resources records platform engine tools/cli)
# The simulator checks the engine's side of the dialogue, so shares none of it.
set(aMay_tools_boardsim core records tools/boardsim)

set(lWrong 0)
foreach(sLayer IN LISTS aLayers)
  string(REPLACE "/" "_" sKey "${sLayer}")
  file(GLOB_RECURSE aFiles "${SOURCE}/${sLayer}/*.h" "${SOURCE}/${sLayer}/*.cpp")
  foreach(sFile IN LISTS aFiles)
    file(STRINGS "${sFile}" aIncludes REGEX "^#include \"")
    foreach(sInclude IN LISTS aIncludes)
      if(sInclude MATCHES "^#include \"(tools/[a-z]+|[a-z]+)/" AND
         NOT CMAKE_MATCH_1 IN_LIST aMay_${sKey})
        file(RELATIVE_PATH sShown "${SOURCE}" "${sFile}")
        message(SEND_ERROR "${sShown}: ${sInclude}: ${sLayer} may include only from "
                           "${aMay_${sKey}}")
        math(EXPR lWrong "${lWrong} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()
if(lWrong GREATER 0)
  message(FATAL_ERROR "${lWrong} include(s) across the layers")
endif()
