# Makes the page one self-contained file, to open from disk with no server:
# the style inline, the ES modules as one inline script (their imports taken
# out, their exports made plain declarations: every module's top-level names
# differ), and the worker's script (the module and worker.js) as text the
# page turns into a worker of its own.
#   cmake -DPAGE=<folder of the static page> -DOUT=<file>
#         -DMODULES=<the modules, each after those it imports, separated by
#         commas> -P inline.cmake
string(REPLACE "," ";" MODULES "${MODULES}")
foreach(part index.html pagina.css motor.js worker.js ${MODULES})
  file(READ ${PAGE}/${part} text)
  string(FIND "${text}" "</script" closing)
  if(NOT part STREQUAL "index.html" AND NOT closing EQUAL -1)
    message(FATAL_ERROR "${part} holds \"</script\" and cannot go inline")
  endif()
  string(REPLACE "." "_" name ${part})
  set(${name} "${text}")
endforeach()

set(bundle "(() => {\n'use strict';\n")
foreach(module IN LISTS MODULES)
  string(REPLACE "." "_" name ${module})
  string(REGEX REPLACE "\nimport [^;]*;" "\n" code "${${name}}")
  string(REGEX REPLACE "\nexport " "\n" code "${code}")
  string(APPEND bundle "// ---- ${module}\n${code}")
endforeach()
string(APPEND bundle "})();\n")

set(style "<link rel=\"stylesheet\" href=\"pagina.css\">")
set(script "<script type=\"module\" src=\"pagina.js\"></script>")
foreach(tag style script)
  string(FIND "${index_html}" "${${tag}}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "index.html has no ${${tag}}")
  endif()
endforeach()
string(REPLACE "${style}" "<style>\n${pagina_css}</style>" page "${index_html}")
string(REPLACE "${script}"
  "<script type=\"text/plain\" id=\"fonte-worker\">\n${motor_js}\n${worker_js}</script>\n<script>\n${bundle}</script>"
  page "${page}")
file(WRITE ${OUT} "${page}")
