# The price list benchmark: paginate the N=100000 goods list and write the PDF, against a plain
# QPdfWriter loop over the same rows (the floor).
zirt_add_bench(bench-price-list SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench-price-list.cpp
  LIBS zirt_datamodule zirt_report zirt_reporting Qt6::Widgets Qt6::PrintSupport)
target_compile_definitions(bench-price-list PRIVATE ZIRT_SHARE_DIR="${PROJECT_SOURCE_DIR}/share")
