# The watch's systemd unit as systemd reads it: "systemd-analyze verify" has
# nothing to say, and "systemd-analyze security" rates its exposure 3 or
# less. UNIT: the unit template; PROGRAM: the built qzr17ctl, which verify
# wants to find where ExecStart says; WORK: a folder for the instance.
file(MAKE_DIRECTORY ${WORK})
file(READ ${UNIT} text)
string(REPLACE "/usr/bin/qzr17ctl" "${PROGRAM}" text "${text}")
set(instance ${WORK}/kv36-watch@kotelna.service)
file(WRITE ${instance} "${text}")

execute_process(COMMAND systemd-analyze verify --man=no ${instance}
                RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(failed OR NOT said STREQUAL "")
  message(FATAL_ERROR "systemd-analyze verify: ${said}")
endif()

execute_process(COMMAND systemd-analyze security --offline=yes --threshold=30 ${instance}
                RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
string(REGEX MATCH "Overall exposure level[^\n]*" level "${said}")
if(failed OR level STREQUAL "")
  message(FATAL_ERROR "systemd-analyze security, goal 3 or less:\n${said}")
endif()
message(STATUS "${level}")
