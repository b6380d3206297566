# tarvex-cli cut --days as built, on generated logs of the styles that date their lines by a
# separator line: what remains is exactly the last two dates of the log. For SF-Mail the
# analysis before and after the cut tells the days; for Generic FrontDoor the date lines do.
# A cross build runs the programs through its emulator (EMULATOR, its words joined by '|').
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
set(CLI ${EMULATOR} "${CLI}")
set(FIXTURES ${EMULATOR} "${FIXTURES}")
file(REMOVE_RECURSE "${SCRATCH}")

function(run_ok out)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE o ERROR_VARIABLE e RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}: exit ${rc}: ${e}")
  endif()
  set(${out} "${o}" PARENT_SCOPE)
endfunction()

# The days of the analysis, each as its date.
function(sfmail_days out firstline)
  run_ok(records ${CLI} analyze --style SF-Mail --mailer-path "${SCRATCH}/sf" --year 2026 "${SCRATCH}/sf/sf-mail.log")
  string(REGEX MATCHALL "(^|\n)day\t[0-9]+\t[0-9]+\t[0-9-]+" days "${records}")
  string(REGEX REPLACE "(^|\n)day\t[0-9]+\t[0-9]+\t" "" dates "${days}")
  string(REGEX REPLACE "^\n?day\t[0-9]+\t([0-9]+)\t.*" "\\1" first "${days}")
  set(${out} "${dates}" PARENT_SCOPE)
  set(${firstline} "${first}" PARENT_SCOPE)
endfunction()

run_ok(_ ${FIXTURES} sfmail --dir "${SCRATCH}/sf" --lines 3000 --lines-per-day 200 --seed 1)
sfmail_days(before _)
list(LENGTH before nbefore)
if(nbefore LESS 10)
  message(FATAL_ERROR "the generated SF-Mail log holds only ${nbefore} days")
endif()
run_ok(said ${CLI} cut --days 2 --style SF-Mail --year 2026 "${SCRATCH}/sf/sf-mail.log")
if(NOT said MATCHES "^removed [1-9][0-9]* bytes in [1-9][0-9]* lines, kept [0-9]+ bytes in [0-9]+ lines\n$")
  message(FATAL_ERROR "the SF-Mail days cut removed nothing: ${said}")
endif()
sfmail_days(after first)
math(EXPR from "${nbefore} - 2")
list(SUBLIST before ${from} 2 lasttwo)
if(NOT after STREQUAL lasttwo OR NOT first EQUAL 1)
  message(FATAL_ERROR "after the cut the SF-Mail log holds the days [${after}] from line ${first}, not [${lasttwo}] from line 1")
endif()

run_ok(_ ${FIXTURES} frontdoor --dir "${SCRATCH}/fd" --days 15 --lines-per-day 100)
run_ok(said ${CLI} cut --days 2 --style "Generic FrontDoor" "${SCRATCH}/fd/frontdoor.log")
file(STRINGS "${SCRATCH}/fd/frontdoor.log" dates REGEX "^----------  ")
list(REMOVE_DUPLICATES dates)
file(STRINGS "${SCRATCH}/fd/frontdoor.log" firstline LIMIT_COUNT 1)
if(NOT dates MATCHES "^----------  [A-Za-z]+ 14 Jan 99[^;]*;----------  [A-Za-z]+ 15 Jan 99[^;]*$"
   OR NOT firstline MATCHES "^----------  [A-Za-z]+ 14 Jan 99")
  message(FATAL_ERROR "after the cut the FrontDoor log holds the dates [${dates}] from [${firstline}]")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
