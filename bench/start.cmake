# The start as a user sees it: the real program under an X server (scripts/bench runs it in xvfb-run).
zirt_add_bench(bench-start SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench-start.cpp
  LIBS zirt_test_support Qt6::Core)
target_include_directories(bench-start PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_compile_definitions(bench-start PRIVATE PROJECT1_PATH="$<TARGET_FILE:Project1>")
add_dependencies(bench-start Project1)
find_package(X11)
if(X11_FOUND)
  target_link_libraries(bench-start PRIVATE X11::X11)
  target_compile_definitions(bench-start PRIVATE ZIRT_HAVE_X11)
endif()
