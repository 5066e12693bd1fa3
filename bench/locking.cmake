# Starting against a database another program has locked.
zirt_add_bench(bench-locked-start SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench-locked-start.cpp
  LIBS zirt_datamodule zirt_test_support zirt_db SQLite::SQLite3 Qt6::Widgets)
