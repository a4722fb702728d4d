# Writes the manual page of quelna-cli from its --help text: the usage lines become the
# synopsis, every later line a paragraph of the description.
# cmake -DCLI=<quelna-cli> -DVERSION=<x.y> -DDATE=<yyyy-mm-dd> -DOUT=<file> -P man_page.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${CLI} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "quelna-cli --help failed: ${status}")
endif()

# roff: a backslash is written \e, a minus \-, and a line may not begin with a dot.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "\n\\." "\n\\\\&." help "${help}")
string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

set(synopsis "")
set(description "")
set(part usage)
foreach(line IN LISTS lines)
    if(part STREQUAL usage)
        if(line MATCHES "^usage:")
            continue()
        elseif(line STREQUAL "")
            set(part description)
        else()
            # The usage's two-blank indent goes; the deeper one of continued lines stays.
            if(line MATCHES "^  ")
                string(SUBSTRING "${line}" 2 -1 line)
            endif()
            string(APPEND synopsis "${line}\n")
        endif()
    elseif(NOT line STREQUAL "")
        string(APPEND description ".PP\n${line}\n")
    endif()
endforeach()

file(WRITE ${OUT} ".TH QUELNA\\-CLI 1 \"${DATE}\" \"quelna ${VERSION}\" \"User Commands\"
.SH NAME
quelna\\-cli \\- seat the rounds of a Swiss\\-system Riichi\\-mahjong tournament without a window
.SH SYNOPSIS
.nf
${synopsis}.fi
.SH DESCRIPTION
${description}.SH SEE ALSO
.BR quelna (1)
")
