# The grid's benchmark: paging through a goods grid of 2,000 and of 200,000 rows.
zirt_add_bench(bench-grid SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench-grid.cpp
  LIBS zirt_controls zirt_data SQLite::SQLite3 Qt6::Widgets)
