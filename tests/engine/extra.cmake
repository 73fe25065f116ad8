# The engine tests reach the dictionary files directly through SQLite to play "another program";
# the crash and lock tests run crashchild beside them.
add_executable(crashchild ${CMAKE_CURRENT_SOURCE_DIR}/engine/crashchild.cpp)
target_link_libraries(crashchild PRIVATE prediction SQLite::SQLite3)
set_target_properties(crashchild PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
foreach(test tst_dictionary tst_storage tst_crash)
    if(TARGET ${test})
        target_link_libraries(${test} PRIVATE SQLite::SQLite3)
        add_dependencies(${test} crashchild)
    endif()
endforeach()
