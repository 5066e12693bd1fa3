# The charts' benchmarks on the large generated database: filling from the order history and painting.
zirt_add_bench(bench-chart SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench-chart.cpp
  LIBS zirt_controls zirt_datamodule Qt6::Widgets)
