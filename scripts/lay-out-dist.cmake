# Run by the build: makes dist/zol/ a complete program folder when it holds no archive yet.
# An existing archive in it is never touched.
file(GLOB tables "${DIST_DIR}/dati/*.DAT")
if(NOT tables)
    execute_process(COMMAND "${ZOLCTL}" init "${DIST_DIR}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "zolctl init ${DIST_DIR} failed")
    endif()
endif()
