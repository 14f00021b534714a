# Runs quillmere-cli and checks its exit status and what it printed.
#   -DCLI=<program> -DARGS=<arguments separated by |> -DSTATUS=<expected exit status>
#   -DOUT=<regular expression stdout must match> -DERR=<regular expression stderr must match>
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND ${CLI} ${arguments}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(failed "")
if(NOT status STREQUAL STATUS)
  string(APPEND failed "exit status ${status}, expected ${STATUS}\n")
endif()
if(DEFINED OUT AND NOT out MATCHES "${OUT}")
  string(APPEND failed "standard output does not match: ${OUT}\n")
endif()
if(DEFINED ERR AND NOT err MATCHES "${ERR}")
  string(APPEND failed "standard error does not match: ${ERR}\n")
endif()
if(failed)
  message(FATAL_ERROR "quillmere-cli ${arguments}\n${failed}--- stdout:\n${out}--- stderr:\n${err}")
endif()
