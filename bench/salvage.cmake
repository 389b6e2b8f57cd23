# salvage_bench: runs the file salvage over given files and reports its speed; can dump the
# salvaged texts and write generated inputs. Built for Windows and on the host.
add_executable(salvage_bench
  ${CMAKE_CURRENT_LIST_DIR}/SalvageBench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BenchInputs.cpp
)
target_link_libraries(salvage_bench PRIVATE engine)
if(NOT QM_HOST)
  target_link_options(salvage_bench PRIVATE -municode)  # wmain: file names as UTF-16
endif()
add_custom_command(TARGET salvage_bench POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QM_DATA_DIR}/Quillmend.dat
          ${QM_DATA_DIR}/QuillmendCY.dat $<TARGET_FILE_DIR:salvage_bench>)
