# Runs chmcmd on the staged help project, writing kdhelp.chm into
# OUTPUT_FOLDER. Any warning fails the build: chmcmd warns about links to
# pages or pictures that do not exist but still writes the file.
file(REMOVE ${OUTPUT_FOLDER}/kdhelp.chm)
execute_process(
  COMMAND ${CHMCMD} ${PROJECT_FILE}
  WORKING_DIRECTORY ${OUTPUT_FOLDER}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE result
)
if(NOT result EQUAL 0 OR output MATCHES "Warning|Error" OR errors MATCHES "Warning|Error"
   OR NOT EXISTS ${OUTPUT_FOLDER}/kdhelp.chm)
  file(REMOVE ${OUTPUT_FOLDER}/kdhelp.chm)
  message(FATAL_ERROR "chmcmd could not compile ${PROJECT_FILE}:\n${output}${errors}")
endif()
