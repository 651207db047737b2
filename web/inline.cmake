# Makes the page one self-contained file, to open from disk with no server:
# the style and the script inline, and the worker's script (the module and
# worker.js) as text the page turns into a worker of its own.
#   cmake -DPAGE=<folder of the static page> -DOUT=<file> -P inline.cmake
foreach(part index.html pagina.css pagina.js motor.js worker.js)
  file(READ ${PAGE}/${part} text)
  string(FIND "${text}" "</script" closing)
  if(NOT part STREQUAL "index.html" AND NOT closing EQUAL -1)
    message(FATAL_ERROR "${part} holds \"</script\" and cannot go inline")
  endif()
  string(REPLACE "." "_" name ${part})
  set(${name} "${text}")
endforeach()
set(style "<link rel=\"stylesheet\" href=\"pagina.css\">")
set(script "<script src=\"pagina.js\"></script>")
foreach(tag style script)
  string(FIND "${index_html}" "${${tag}}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "index.html has no ${${tag}}")
  endif()
endforeach()
string(REPLACE "${style}" "<style>\n${pagina_css}</style>" page "${index_html}")
string(REPLACE "${script}"
  "<script type=\"text/plain\" id=\"fonte-worker\">\n${motor_js}\n${worker_js}</script>\n<script>\n${pagina_js}</script>"
  page "${page}")
file(WRITE ${OUT} "${page}")
