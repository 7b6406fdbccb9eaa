# Helpers shared by every folder.

# korvane_add_module(NAME session ALIAS Session SOURCES a.cpp b.cpp LIBS Korvane::Core Qt6::Network)
# makes the static library korvane_<name> with the alias Korvane::<Alias>.
function(korvane_add_module)
    cmake_parse_arguments(ARG "" "NAME;ALIAS" "SOURCES;LIBS" ${ARGN})
    add_library(korvane_${ARG_NAME} STATIC ${ARG_SOURCES})
    add_library(Korvane::${ARG_ALIAS} ALIAS korvane_${ARG_NAME})
    target_include_directories(korvane_${ARG_NAME} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(korvane_${ARG_NAME} PUBLIC ${ARG_LIBS})
    target_compile_options(korvane_${ARG_NAME} PRIVATE -Wall -Wextra)
endfunction()

# korvane_add_test(tst_flap SOURCES tst_flap.cpp LIBS Korvane::Session [TIMEOUT 120])
# One Qt Test executable, registered in CTest, run offscreen. Tests find their
# fixtures through KORVANE_TEST_DATA (the folder's data/ directory) and the shared
# helpers of tests/support/ as "support/..." (Korvane::TestSupport).
function(korvane_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    if(TARGET Korvane::TestSupport)
        target_link_libraries(${name} PRIVATE Korvane::TestSupport)
    endif()
    target_compile_options(${name} PRIVATE -Wall -Wextra)
    target_compile_definitions(${name} PRIVATE
        KORVANE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
        KORVANE_BINARY_DIR="${CMAKE_BINARY_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
