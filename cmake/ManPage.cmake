# Man pages made by help2man from a program's own --help and --version, so
# that a page cannot drift from its program; without help2man, or in a
# cross-build whose programs do not run here, the build goes on without them.
find_program(HELP2MAN help2man)

# tessivar_man_page(TARGET NAME [INCLUDES file...] [PREPARE command...]
#                   [DEPENDS file...]): TARGET's page, installed in section 1;
# PREPARE runs first, to write an include file that INCLUDES names.
function(tessivar_man_page target name)
  cmake_parse_arguments(PARSE_ARGV 2 MAN "" "" "INCLUDES;PREPARE;DEPENDS")
  if(NOT HELP2MAN OR CMAKE_CROSSCOMPILING)
    message(STATUS "help2man not found or cross-building: ${target} gets no man page")
    return()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
  set(includes)
  foreach(include IN LISTS MAN_INCLUDES)
    list(APPEND includes --include=${include})
  endforeach()
  set(prepare)
  if(MAN_PREPARE)
    set(prepare COMMAND ${MAN_PREPARE})
  endif()
  add_custom_command(OUTPUT ${page}
    ${prepare}
    COMMAND ${HELP2MAN} --no-info --output=${page} --name=${name} ${includes}
            $<TARGET_FILE:${target}>
    DEPENDS ${target} ${MAN_DEPENDS}
    VERBATIM)
  add_custom_target(${target}-man ALL DEPENDS ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
