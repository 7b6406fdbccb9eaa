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
    korvane_use_pch(korvane_${ARG_NAME})
    korvane_unity(korvane_${ARG_NAME})
endfunction()

# The Qt headers nearly every source includes (cmake/qtpch.h), compiled once by
# korvane_pch and reused by every library, test and benchmark. A source may use a
# precompiled header only when it is compiled with the flags the header was, and with
# every macro the header was made with (it may add more): so korvane_pch takes the Qt
# include folders but only Qt Core's usage, whose QT_CORE_LIB every target has.
function(korvane_add_pch)
    if(NOT KORVANE_PCH OR TARGET korvane_pch)
        return()
    endif()
    add_library(korvane_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/qtpch.cpp)
    target_link_libraries(korvane_pch PRIVATE Qt6::Core)
    foreach(module IN ITEMS Gui Widgets Network)
        target_include_directories(korvane_pch SYSTEM PRIVATE
            $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
    endforeach()
    target_compile_options(korvane_pch PRIVATE -Wall -Wextra)
    # Without the time stamp the compiler cache can reuse what was compiled with it.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        target_compile_options(korvane_pch PRIVATE -Xclang -fno-pch-timestamp)
    endif()
    target_precompile_headers(korvane_pch PRIVATE ${CMAKE_SOURCE_DIR}/cmake/qtpch.h)
endfunction()

function(korvane_use_pch target)
    if(KORVANE_PCH)
        target_precompile_headers(${target} REUSE_FROM korvane_pch)
    endif()
endfunction()

# The libraries compile as unity builds: a few sources to one compiler run, which parses
# the shared headers once. The libraries listed in KORVANE_NO_UNITY do not build so.
function(korvane_unity target)
    if(KORVANE_UNITY AND NOT target IN_LIST KORVANE_NO_UNITY)
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${KORVANE_UNITY_BATCH})
    endif()
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
    korvane_use_pch(${name})
    target_compile_definitions(${name} PRIVATE
        KORVANE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
        KORVANE_BINARY_DIR="${CMAKE_BINARY_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
