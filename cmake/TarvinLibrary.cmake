# Each subsystem folder src/<name>/ builds two static libraries:
#   tarvin_<name>     from src/<name>/*.cpp     - QtCore at most, runs headless
#   tarvin_<name>_ui  from src/<name>/ui/*.cpp  - windows and widgets (only when ui/ has sources)
# Sources are picked up by glob so that adding a file needs no edit here.
function(tarvin_subsystem name)
    cmake_parse_arguments(ARG "" "" "CORE_LIBS;UI_LIBS" ${ARGN})
    file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    if(NOT core_sources)
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp "// no sources yet\n")
        set(core_sources ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    endif()
    add_library(tarvin_${name} STATIC ${core_sources})
    target_include_directories(tarvin_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(tarvin_${name} PUBLIC Qt6::Core ${ARG_CORE_LIBS})

    file(GLOB ui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.qrc)
    if(ui_sources)
        add_library(tarvin_${name}_ui STATIC ${ui_sources})
        target_include_directories(tarvin_${name}_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(tarvin_${name}_ui PUBLIC tarvin_${name} Qt6::Widgets ${ARG_UI_LIBS})
    else()
        # Keep the name usable for linking before the subsystem has windows.
        add_library(tarvin_${name}_ui INTERFACE)
        target_link_libraries(tarvin_${name}_ui INTERFACE tarvin_${name})
    endif()
endfunction()

# One GoogleTest executable per test folder. Each of its cases is registered with CTest as a
# test of its own, named "<folder>.<Suite>.<Case>", so that a failure names its case; the
# cases are listed when CTest runs (the test mains list them without a display).
# QT_CORE / QT_GUI give the executable a main() that creates a QCoreApplication or
# QApplication before running the tests; otherwise a plain main. Every main pins the locale.
function(tarvin_test name)
    cmake_parse_arguments(ARG "QT_CORE;QT_GUI" "" "LIBS;ENV" ${ARGN})
    file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_executable(test_${name} ${test_sources})
    target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    if(ARG_QT_GUI)
        target_sources(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/GuiTestMain.cpp)
        target_link_libraries(test_${name} PRIVATE Qt6::Widgets GTest::gtest)
    elseif(ARG_QT_CORE)
        target_sources(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/CoreTestMain.cpp)
        target_link_libraries(test_${name} PRIVATE GTest::gtest)
    else()
        target_sources(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/PlainTestMain.cpp)
        target_link_libraries(test_${name} PRIVATE GTest::gtest)
    endif()
    target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} GTest::gmock)
    target_compile_definitions(test_${name} PRIVATE
        TARVIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        TARVIN_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
        TARVIN_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(test_${name}
        TEST_PREFIX "${name}."
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENV}" TIMEOUT 300)
endfunction()

# qpdf's JSON.hh (a std::vector of the class it is defining) does not compile as C++20 with
# clang before 16; the given sources of the current folder, which include qpdf headers, are
# compiled as C++17 there (our headers' few C++20 constructs are clang extensions in C++17).
function(tarvin_qpdf_sources)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 16)
        set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "-std=c++17;-Wno-c++20-extensions")
    endif()
endfunction()
