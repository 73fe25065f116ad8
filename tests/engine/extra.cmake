# The engine tests reach the dictionary files directly through SQLite (tests/support/rawsqlite.h) to play
# "another program"; the crash and lock tests run crashchild beside them, and the crash test lexora-dict.
add_executable(crashchild ${CMAKE_CURRENT_SOURCE_DIR}/engine/crashchild.cpp)
target_link_libraries(crashchild PRIVATE prediction SQLite::SQLite3)
set_target_properties(crashchild PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
foreach(test tst_storage tst_crash)
    add_dependencies(${test} crashchild)
endforeach()
add_dependencies(tst_crash lexora-dict)
