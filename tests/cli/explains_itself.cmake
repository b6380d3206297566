# The command line explains itself, run as built: every command's --help, the styles named when
# one is unknown, one wording for an argument a command does not take (with the command's
# usage after it), files named where the user finds them, and a missing --mailer-path said as
# such. CLI and FIXTURES run the command-line cases, GUI the program's own --style case.
set(failures "")

# check(RC OUT_REGEX ERR_REGEX [WORKDIR dir] args...): the exit status and both streams.
function(check rc outre errre)
  set(args ${ARGN})
  set(workdir "${SCRATCH}")
  list(GET args 0 first)
  if(first STREQUAL "WORKDIR")
    list(GET args 1 workdir)
    list(REMOVE_AT args 0 1)
  endif()
  execute_process(COMMAND ${args} WORKING_DIRECTORY "${workdir}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE got)
  if(NOT got STREQUAL rc OR NOT out MATCHES "${outre}" OR NOT err MATCHES "${errre}")
    string(REPLACE ";" " " shown "${args}")
    set(failures "${failures}\n${shown}\n  exit ${got} (want ${rc})\n  stdout: ${out}\n  stderr: ${err}" PARENT_SCOPE)
  endif()
endfunction()

# A path as a regular expression matching it literally.
function(literal var path)
  string(REGEX REPLACE "([][.*+?^$()|\\\\])" "\\\\\\1" quoted "${path}")
  set(${var} "${quoted}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
set(styles "\\(0 Other, 1 T-mail, 2 Generic Bink-style, 3 Generic FrontDoor, 4 Brake!, 5 Bink/\\+, 6 FHMail, 7 SF-Mail, 8 Argus\\)")

if(DEFINED GUI)
  check(2 "^$" "^tarvex: unknown style 'Nonesuch' ${styles}\n$" "${GUI}" --style Nonesuch)
endif()

if(DEFINED CLI)
  # A cross build runs the programs through its emulator (EMULATOR, its words joined by '|').
  string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
  set(CLI ${EMULATOR} "${CLI}")
  set(FIXTURES ${EMULATOR} "${FIXTURES}")
  # What joins the mailer's folder and a file of it in the names the program gives.
  if(WINDOWS)
    set(join "\\\\")
  else()
    set(join "/")
  endif()
  execute_process(COMMAND ${FIXTURES} tmail --dir "${SCRATCH}/t-mail" --lines 300 --no-separators OUTPUT_QUIET)
  set(mailer "${SCRATCH}/t-mail")
  literal(mailerre "${mailer}")
  literal(scratchre "${SCRATCH}")

  foreach(command analyze follow dlc phrases traffic history cut "report sessions" "report dialstat")
    separate_arguments(words UNIX_COMMAND "${command}")
    check(0 "^usage: tarvex-cli ${command} " "^$" ${CLI} ${words} --help)
  endforeach()
  check(0 "^usage: tarvex-cli analyze " "^$" ${CLI} analyze --style 1 -h)
  check(0 "^usage: tarvex-cli report sessions .*\nusage: tarvex-cli report dialstat " "^$" ${CLI} report --help)

  check(2 "^$" "^tarvex-cli analyze: unknown style 'Nonesuch' ${styles}\nusage: tarvex-cli analyze "
        ${CLI} analyze --style Nonesuch "${mailer}/t-mail.log")
  check(2 "^$" "^tarvex-cli cut: unknown style '9' ${styles}\nusage: tarvex-cli cut "
        ${CLI} cut --days 2 --style 9 "${mailer}/t-mail.log")

  check(2 "^$" "^tarvex-cli phrases: unknown option '--bogus'\nusage: tarvex-cli phrases " ${CLI} phrases --bogus)
  check(2 "^$" "^tarvex-cli follow: bad poll interval '0' \\(1 to 3600000 milliseconds\\)\nusage: tarvex-cli follow "
        ${CLI} follow --style T-mail --poll-ms 0 "${mailer}/t-mail.log")
  check(2 "^$" "^tarvex-cli history: unknown option '--bogus'\nusage: tarvex-cli history " ${CLI} history --bogus)
  check(2 "^$" "^tarvex-cli cut: unknown option '--bogus'\nusage: tarvex-cli cut " ${CLI} cut --bogus)
  check(2 "^$" "^tarvex-cli traffic: unexpected argument 'stray'\nusage: tarvex-cli traffic "
        ${CLI} traffic --mailer-path "${mailer}" stray)

  check(2 "^$" "^Cannot open traffic file\ntarvex-cli traffic: ${mailerre}${join}t-mail\\.s03: no such file\n$"
        ${CLI} traffic --mailer-path "${mailer}" --line 3)
  check(2 "^$" "^Cannot open file ${scratchre}/logs${join}t-mail\\.ctl for parsing\n$"
        ${CLI} history --mailer-path "${SCRATCH}/logs")
  check(2 "^$" "^Cannot open log file for analysis\ntarvex-cli analyze: ${scratchre}/none\\.log: no such file\n$"
        ${CLI} analyze --style T-mail --mailer-path "${mailer}" "${SCRATCH}/none.log")

  # Outside the mailer's directory nothing says where its files are.
  check(2 "^$" "^tarvex-cli report sessions: --mailer-path is missing \\(T-mail reads t-mail\\.ctl in the mailer's directory\\)\nusage: tarvex-cli report sessions "
        ${CLI} report sessions --style T-mail "${mailer}/t-mail.log")
  # Inside it the files are found without it.
  check(0 "Time" "" WORKDIR "${mailer}" ${CLI} report sessions --style T-mail --year 2026 t-mail.log)
endif()

file(REMOVE_RECURSE "${SCRATCH}")
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
