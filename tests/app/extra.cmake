# The host application's smoke test runs the built program, so it must be built first.
if(TARGET tst_hostapp AND TARGET lexora-editor)
    add_dependencies(tst_hostapp lexora-editor)
endif()

