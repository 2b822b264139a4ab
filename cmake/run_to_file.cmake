# cmake -DPROGRAM=... -DARGUMENT=... -DOUTPUT=... -P run_to_file.cmake
# Runs PROGRAM ARGUMENT and writes what it prints to OUTPUT; fails when it does.
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${PROGRAM} ${ARGUMENT} OUTPUT_FILE ${OUTPUT}.tmp RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT}.tmp)
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENT} failed: ${status}")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
