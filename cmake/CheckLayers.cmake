# Run as a script (cmake -DSOURCE=<root> -P CheckLayers.cmake) by every
# build: fails where a file includes a header of a layer above its own, and
# where units include each other in a circle. Includes name their folder
# from the repository's root, so the folder a header comes from is its
# layer. Each folder lists what it may include.
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

# A unit is a header with its sources, a platform's own ones included:
# "engine/mdlComms" for engine/mdlComms.h and .cpp, "platform/clsFileLock"
# for clsFileLock.h, _unix.cpp and _win.cpp; a private header (_p.h) too.
function(UnitOf sPath sOut)
  string(REGEX REPLACE "(_unix|_win|_p)?\\.(h|cpp)$" "" sUnit "${sPath}")
  set(${sOut} "${sUnit}" PARENT_SCOPE)
endfunction()

set(lWrong 0)
set(aUnits "")
foreach(sLayer IN LISTS aLayers)
  string(REPLACE "/" "_" sKey "${sLayer}")
  file(GLOB_RECURSE aFiles "${SOURCE}/${sLayer}/*.h" "${SOURCE}/${sLayer}/*.cpp")
  foreach(sFile IN LISTS aFiles)
    file(RELATIVE_PATH sShown "${SOURCE}" "${sFile}")
    UnitOf("${sShown}" sUnit)
    list(APPEND aUnits "${sUnit}")
    file(STRINGS "${sFile}" aIncludes REGEX "^#include \"")
    foreach(sInclude IN LISTS aIncludes)
      if(sInclude MATCHES "^#include \"([^\"]+/[^\"]+)\"")
        UnitOf("${CMAKE_MATCH_1}" sUsed)
        if(NOT sUsed STREQUAL sUnit)
          list(APPEND aUses_${sUnit} "${sUsed}")
        endif()
      endif()
      if(sInclude MATCHES "^#include \"(tools/[a-z]+|[a-z]+)/" AND
         NOT CMAKE_MATCH_1 IN_LIST aMay_${sKey})
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

# Units that use no unit left are taken away until none goes: what stays
# is in a circle, or uses one.
list(REMOVE_DUPLICATES aUnits)
set(aLeft ${aUnits})
set(bTaken TRUE)
while(bTaken)
  set(bTaken FALSE)
  foreach(sUnit IN LISTS aLeft)
    set(bUsesLeft FALSE)
    foreach(sUsed IN LISTS aUses_${sUnit})
      if(sUsed IN_LIST aLeft)
        set(bUsesLeft TRUE)
        break()
      endif()
    endforeach()
    if(NOT bUsesLeft)
      list(REMOVE_ITEM aLeft "${sUnit}")
      set(bTaken TRUE)
    endif()
  endforeach()
endwhile()
# Every unit left uses one left: following such uses from any of them
# comes back to a unit already passed, and that is a circle.
if(aLeft)
  list(GET aLeft 0 sUnit)
  set(aPath "")
  while(NOT sUnit IN_LIST aPath)
    list(APPEND aPath "${sUnit}")
    foreach(sUsed IN LISTS aUses_${sUnit})
      if(sUsed IN_LIST aLeft)
        set(sUnit "${sUsed}")
        break()
      endif()
    endforeach()
  endwhile()
  list(FIND aPath "${sUnit}" lStart)
  list(SUBLIST aPath ${lStart} -1 aCircle)
  list(APPEND aCircle "${sUnit}")
  list(JOIN aCircle " -> " sCircle)
  message(FATAL_ERROR "units include each other in a circle (a header and its sources "
                      "are one unit): ${sCircle}")
endif()
