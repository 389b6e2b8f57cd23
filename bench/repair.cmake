# Repair run speed: 2,000 small documents (page hidden, then visible) and one 100 MB document saved
# as text, and 10,000 log lines (Windows build; run under Wine with a display: see RepairBench.cpp).
if(NOT QM_HOST)
  add_executable(repair_bench ${CMAKE_CURRENT_LIST_DIR}/RepairBench.cpp $<TARGET_OBJECTS:qm_resources>)
  target_link_libraries(repair_bench PRIVATE app_pages)
  target_link_options(repair_bench PRIVATE -municode)
  add_custom_command(TARGET repair_bench POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QM_DATA_DIR}/Quillmend.dat
            ${QM_DATA_DIR}/QuillmendCY.dat $<TARGET_FILE_DIR:repair_bench>)
endif()
