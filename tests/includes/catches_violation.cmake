# The include rule must catch an include that runs the wrong way: a scratch copy of the sources
# gets one of each kind the rule forbids, and the check has to fail and name every one.
file(REMOVE_RECURSE ${SCRATCH})
file(COPY ${SRC_DIR}/ DESTINATION ${SCRATCH})
# The core reaching up: within itself, and into the GUI's tmail, whose name it shares.
file(APPEND ${SCRATCH}/core/base/sort.cpp "#include \"styles/logfactory.h\"\n")
file(APPEND ${SCRATCH}/core/tmail/traffic.cpp "#include \"tmail/trafficform.h\"\n")
# A view reaching the log window, the viewer reaching a view, the command line reaching the GUI.
file(APPEND ${SCRATCH}/gui/views/freqform.cpp "#include \"app/childform.h\"\n")
file(APPEND ${SCRATCH}/gui/viewer/logviewer.cpp "#include \"views/viewhost.h\"\n")
file(APPEND ${SCRATCH}/cli/main.cpp "#include \"common/guienv.h\"\n")
execute_process(COMMAND bash ${SCRIPT} ${SCRATCH} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0)
  message(FATAL_ERROR "the include check passed a copy that breaks the rule:\n${out}")
endif()
foreach(expected "core/base/sort.cpp: includes \"styles/logfactory.h\""
                 "core/tmail/traffic.cpp: includes \"tmail/trafficform.h\" of the GUI"
                 "gui/views/freqform.cpp: includes \"app/childform.h\""
                 "gui/viewer/logviewer.cpp: includes \"views/viewhost.h\""
                 "cli/main.cpp: includes \"common/guienv.h\" of the GUI")
  string(FIND "${out}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the include check did not name ${expected}:\n${out}")
  endif()
endforeach()
# An unknown folder is refused too, so a new one is placed in the rule on purpose.
file(REMOVE_RECURSE ${SCRATCH})
file(COPY ${SRC_DIR}/ DESTINATION ${SCRATCH})
file(WRITE ${SCRATCH}/gui/newfolder/x.h "#pragma once\n")
execute_process(COMMAND bash ${SCRIPT} ${SCRATCH} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0 OR NOT out MATCHES "newfolder")
  message(FATAL_ERROR "the include check let an unplaced folder pass:\n${out}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
