# Text view speed: SetText of a 50 MB text of 1,000,000 rows, and one repaint scrolled to the
# middle (Windows build; run under Wine with a display: see ControlsBench.cpp).
if(NOT QM_HOST)
  add_executable(controls_bench ${CMAKE_CURRENT_LIST_DIR}/ControlsBench.cpp)
  target_link_libraries(controls_bench PRIVATE controls qm_resources)
  target_link_options(controls_bench PRIVATE -municode)
endif()
