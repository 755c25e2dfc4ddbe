# Writes the manual page of a program from its real --help and --version texts
# with help2man, gzipped. For a program with subcommands (kib), the help of each
# subcommand (and of theirs) becomes a section COMMANDS, so that the page
# describes every verb and option the program takes.
#   cmake -DPROGRAM=... -DHELP2MAN=... -DNAME="one line" -DOUTPUT=dir/kib.1 -P man_page.cmake
cmake_minimum_required(VERSION 3.20)

# The names listed under "Subcommands:" in a help text.
function(subcommands_of help result)
  set(names "")
  string(REPLACE "\n" ";" lines "${help}")
  set(inside FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "^Subcommands:")
      set(inside TRUE)
    elseif(inside AND line MATCHES "^  ([a-z][a-z-]*)")
      list(APPEND names "${CMAKE_MATCH_1}")
    elseif(inside AND NOT line MATCHES "^ ")
      set(inside FALSE)
    endif()
  endforeach()
  set(${result} "${names}" PARENT_SCOPE)
endfunction()

# Roff text: backslashes doubled, a leading dot or quote kept as text.
function(roff_escape text result)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()
subcommands_of("${help}" verbs)
set(include "${OUTPUT}.include")
set(include_option "")
if(verbs)
  set(include_option --include "${include}")
  file(WRITE "${include}" "[COMMANDS]\n")
  foreach(verb IN LISTS verbs)
    execute_process(COMMAND "${PROGRAM}" ${verb} --help OUTPUT_VARIABLE verb_help)
    set(words "${verb}")
    subcommands_of("${verb_help}" inner)
    set(helps "${verb_help}")
    foreach(sub IN LISTS inner)
      execute_process(COMMAND "${PROGRAM}" ${verb} ${sub} --help OUTPUT_VARIABLE sub_help)
      string(APPEND helps "\n${sub_help}")
    endforeach()
    roff_escape("${helps}" escaped)
    file(APPEND "${include}" ".SS ${verb}\n.nf\n${escaped}\n.fi\n")
  endforeach()
endif()
# The version alone, so that the page is named after the program ("kib"), not
# after the product name that --version prints first ("Kib 4.2.5(1)").
execute_process(COMMAND "${PROGRAM}" --version OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX REPLACE "^.* " "" version "${version}")
execute_process(
  COMMAND "${HELP2MAN}" --no-info --no-discard-stderr --section 1 --name "${NAME}"
          "--version-string=${version}"
          ${include_option} --output "${OUTPUT}" "${PROGRAM}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${PROGRAM}: ${status}")
endif()
execute_process(COMMAND gzip -9nf "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed for ${OUTPUT}")
endif()
file(REMOVE "${include}")
