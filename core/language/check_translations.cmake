# Fails when a text of the programs is missing from the English translation,
# or the translation holds an unfinished or obsolete entry. lupdate runs into
# a copy of the translation, so that the one in the sources stays as it is;
# its report and lrelease's own say what is wrong.
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY_FILE ${TS} ${WORK_DIR}/kv36_en.ts)
execute_process(COMMAND ${LUPDATE} -locations none ${FOLDERS} -ts ${WORK_DIR}/kv36_en.ts
  WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE lupdate_report ERROR_VARIABLE lupdate_report
  RESULT_VARIABLE lupdate_status)
if(NOT lupdate_status EQUAL 0)
  message(FATAL_ERROR "lupdate failed:\n${lupdate_report}")
endif()
if(NOT lupdate_report MATCHES "Found [0-9]+ source text\\(s\\) \\(0 new and")
  message(FATAL_ERROR "Texts missing from the translation (run the kv36_update_translations target, then translate):\n${lupdate_report}")
endif()
if(lupdate_report MATCHES "obsolete")
  message(FATAL_ERROR "The translation holds texts the programs no longer have:\n${lupdate_report}")
endif()

execute_process(COMMAND ${LRELEASE} ${WORK_DIR}/kv36_en.ts -qm ${WORK_DIR}/kv36_en.qm
  OUTPUT_VARIABLE lrelease_report ERROR_VARIABLE lrelease_report RESULT_VARIABLE lrelease_status)
if(NOT lrelease_status EQUAL 0)
  message(FATAL_ERROR "lrelease failed:\n${lrelease_report}")
endif()
if(NOT lrelease_report MATCHES "\\(([0-9]+) finished and 0 unfinished\\)" OR lrelease_report MATCHES "untranslated")
  message(FATAL_ERROR "Unfinished translations:\n${lrelease_report}")
endif()
message(STATUS "${lupdate_report}${lrelease_report}")
