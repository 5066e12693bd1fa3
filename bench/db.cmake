# The database interface's benchmark and the large-database generator that scripts/bench runs first.
add_executable(zirt-bench-generate ${CMAKE_CURRENT_LIST_DIR}/generate.cpp)
target_link_libraries(zirt-bench-generate PRIVATE zirt_db_provision zirt_db zirt_core SQLite::SQLite3 Qt6::Core)
zirt_add_bench(bench-fetch SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench-fetch.cpp
  LIBS zirt_db zirt_shell zirt_core SQLite::SQLite3 Qt6::Sql)
