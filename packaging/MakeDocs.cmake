# Makes the manual page and the bash completion by asking the built program:
#   cmake -DQUORLIN=... -DMAN=.../quorlin.1 -DCOMPLETION=... -P MakeDocs.cmake
foreach(step "--manual-page;${MAN}" "--bash-completion;${COMPLETION}")
  list(GET step 0 option)
  list(GET step 1 file)
  execute_process(COMMAND ${QUORLIN} ${option} OUTPUT_FILE ${file} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "quorlin ${option} failed: ${status}")
  endif()
endforeach()
# As Debian keeps manual pages: compressed, without a time stamp.
execute_process(COMMAND gzip -9nf ${MAN} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed: ${status}")
endif()
