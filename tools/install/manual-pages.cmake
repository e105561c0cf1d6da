# Manual pages, installed in share/man/man1 and made into
# verrine-manual-pages (built with everything):
#   the viewer's, written by hand (man/verrine.1.in): it has no command line
#   each tool's, made by help2man from the tool's own --help and --version,
#     with the sections that output lacks (NAME, EXAMPLES, EXIT STATUS...)
#     from man/TOOL.h2m; so the page cannot fall behind the program.
set(VERRINE_MAN_DIR ${CMAKE_INSTALL_MANDIR}/man1)
set(VERRINE_MAN_BUILD_DIR ${CMAKE_CURRENT_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${VERRINE_MAN_BUILD_DIR})

configure_file(man/verrine.1.in ${VERRINE_MAN_BUILD_DIR}/verrine.1 @ONLY)
verrine_gzip(${VERRINE_MAN_BUILD_DIR}/verrine.1 ${VERRINE_MAN_BUILD_DIR}/verrine.1.gz)
install(FILES ${VERRINE_MAN_BUILD_DIR}/verrine.1.gz DESTINATION ${VERRINE_MAN_DIR})

set(VERRINE_TOOL_PAGES)
if(VERRINE_TOOLS)
  find_program(VERRINE_HELP2MAN help2man REQUIRED)
endif()
foreach(tool ${VERRINE_TOOLS})
  set(page ${VERRINE_MAN_BUILD_DIR}/${tool}.1)
  set(sections ${CMAKE_CURRENT_SOURCE_DIR}/man/${tool}.h2m)
  # help2man reads the tool through help-in-gnu-form.sh, which gives it the
  # usage as a synopsis; the C locale, so that the page is the same whatever
  # the builder's.
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C VERRINE_TOOL=$<TARGET_FILE:${tool}>
            ${VERRINE_HELP2MAN} --no-info --include=${sections} --output=${page}
            ${CMAKE_CURRENT_SOURCE_DIR}/man/help-in-gnu-form.sh
    COMMAND gzip -9 -n -f ${page}
    DEPENDS ${tool} ${sections} man/help-in-gnu-form.sh
    COMMENT "Writing the manual page of ${tool}"
    VERBATIM)
  install(FILES ${page}.gz DESTINATION ${VERRINE_MAN_DIR})
  list(APPEND VERRINE_TOOL_PAGES ${page}.gz)
endforeach()
add_custom_target(verrine-manual-pages ALL DEPENDS ${VERRINE_TOOL_PAGES})
