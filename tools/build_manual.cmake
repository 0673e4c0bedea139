# Builds the receptionist's manual: the Markdown source turned into HTML by cmark-gfm
# (the source is ours, so its few HTML tags such as <kbd> are kept), a table of contents
# made from its sections, the page put into its template, and the pictures copied
# beside it.
#
#   cmake -DCMARK=... -DSOURCE=manual.md -DTEMPLATE=modelo.html -DIMAGES=imagens -DOUT=dir -P build_manual.cmake
execute_process(COMMAND ${CMARK} --to html --unsafe --extension table --extension autolink ${SOURCE}
                OUTPUT_VARIABLE body RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cmark-gfm não converteu ${SOURCE}")
endif()

# Each section (<h2>) gets an anchor, numbered in order, and a line in the contents.
string(REGEX MATCHALL "<h2>[^<]*</h2>" sections "${body}")
set(contents "")
set(n 0)
foreach(section IN LISTS sections)
    math(EXPR n "${n} + 1")
    string(REGEX REPLACE "<h2>([^<]*)</h2>" "\\1" title "${section}")
    string(REPLACE "${section}" "<h2 id=\"s${n}\">${title}</h2>" body "${body}")
    string(APPEND contents "<li><a href=\"#s${n}\">${title}</a></li>\n")
endforeach()

file(READ ${TEMPLATE} page)
string(REPLACE "@SUMARIO@" "<ol>\n${contents}</ol>" page "${page}")
string(REPLACE "@CORPO@" "${body}" page "${page}")
file(MAKE_DIRECTORY ${OUT})
file(WRITE ${OUT}/index.html "${page}")
file(COPY ${IMAGES} DESTINATION ${OUT})
