# Builds the installed C example with its Makefile, which takes the header's
# folder from pkg-config, in WORK:
#   cmake -DEXAMPLE=DIR -DWORK=DIR -DPC_DIR=DIR -P pkg_config.cmake
file(REMOVE_RECURSE ${WORK})
file(COPY ${EXAMPLE}/ DESTINATION ${WORK})
find_program(MAKE_PROGRAM NAMES make gmake REQUIRED)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${PC_DIR} ${MAKE_PROGRAM} -s -C ${WORK}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/sale_host)
  message(FATAL_ERROR "the C example did not build through pkg-config (${status})")
endif()
