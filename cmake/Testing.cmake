# GoogleTest: Debian's prebuilt library natively; for the Windows build it is compiled from the
# sources that the googletest package installs under /usr/src/googletest.
if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# lunavista_add_test(<name> SOURCES <files...> LIBRARIES <targets...> [NO_MAIN] [SERIAL])
# One test executable; its cases are listed at test time (under Wine when cross-compiling).
# SERIAL: the cases share files beside the executable and must not run at the same time; they
# run one after another, beside the other executables' tests, and first, since together they
# take longest.
function(lunavista_add_test name)
    cmake_parse_arguments(ARG "NO_MAIN;SERIAL" "" "SOURCES;LIBRARIES" ${ARGN})
    set(schedule)
    if(ARG_SERIAL)
        set(schedule RESOURCE_LOCK ${name} COST 50)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} lunavista_warnings)
    if(ARG_NO_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE
        LUNAVISTA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 300
        PROPERTIES TIMEOUT 300 ${schedule})
endfunction()
