# The unit tests that mean something wherever the engine runs, natively and
# in WebAssembly (no child processes, files, signals or system words): one
# list for both builds.
set(hanoi_engine_tests
  puzzle_test.cpp
  evaluate_test.cpp
  frontier_test.cpp
  search_test.cpp
  engine_test.cpp
  lab_test.cpp
  layered_test.cpp
  deepening_test.cpp
  console_test.cpp
  memory_test.cpp
  hugearray_test.cpp
  layerheap_test.cpp
  options_test.cpp
  observe_test.cpp
  compare_test.cpp
  recorder_test.cpp)
# The rest run natively only.
set(hanoi_native_tests
  report_test.cpp
  messages_test.cpp
  replacefile_test.cpp)
