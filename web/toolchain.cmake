# Settings for the WebAssembly build of the page (emcmake cmake ...), read
# before any target is made so that every unit gets them.

# emcc's JavaScript optimizer loads Debian's acorn, which node does not look
# for where Debian installs it.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# WebAssembly's own exceptions: a failed allocation reaches the entry's
# handler as std::bad_alloc (emscripten leaves exceptions off by default),
# and the engine runs within about a tenth of its native speed.
add_compile_options(-fwasm-exceptions)
# Link-time optimisation, as the console's Release build has: the search's
# loop inlines the frontier's, the moves' and the estimate's functions from
# their own units (breadth-first search about a fifth faster).
add_compile_options(-flto)
add_link_options(-flto)
# The heap grows on demand up to what a 32-bit module may address; a
# search's memory budget is what is left of that, or less when the page's
# address asks for less (memoria=MIB).
add_link_options(-fwasm-exceptions -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=4GB)

# The tests run under node; emscripten's own launcher passes node a flag it
# no longer knows, and node's fetch cannot read the module's file.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/node --no-experimental-fetch)
