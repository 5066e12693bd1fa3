# The data module's benchmarks: open-all, snapshot-memory, sort-name and detail-follow against a
# raw sqlite3 loop over the same statements (the floor).
zirt_add_bench(bench-data SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench-data.cpp
  LIBS zirt_datamodule zirt_db SQLite::SQLite3 Qt6::Widgets)
