# Run by CPack on the staged files: Debian asks for a copyright file and a
# changelog in the package's doc folder, and for the changelog and the man
# pages compressed, without a time stamp so that the same files give the
# same package.
set(sRoot ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(sChangelog ${CMAKE_CURRENT_LIST_DIR}/changelog)
file(STRINGS ${sChangelog} sTop LIMIT_COUNT 1)
string(FIND "${sTop}" "${CPACK_PACKAGE_NAME} (${CPACK_PACKAGE_VERSION}) " iAt)
if(NOT iAt EQUAL 0)
  message(FATAL_ERROR "${sChangelog} has no entry for ${CPACK_PACKAGE_VERSION} at its top")
endif()
set(sDoc ${sRoot}/share/doc/${CPACK_PACKAGE_NAME})
file(COPY ${CMAKE_CURRENT_LIST_DIR}/copyright ${sChangelog} DESTINATION ${sDoc})
file(GLOB aManPages ${sRoot}/share/man/man*/*)
execute_process(COMMAND gzip -9n ${sDoc}/changelog ${aManPages} COMMAND_ERROR_IS_FATAL ANY)
