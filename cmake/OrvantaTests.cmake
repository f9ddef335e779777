# orvanta_add_tests(LIBS lib...): every *_test.cpp in the calling folder becomes its own test
# program, so one unfinished test file never stops the others from building.
function(orvanta_add_tests)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" prefix "${rel}")
  foreach(src IN LISTS test_sources)
    get_filename_component(name ${src} NAME_WE)
    set(target "${prefix}_${name}")
    add_executable(${target} ${src})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} orvanta_flags GTest::gtest GTest::gmock
                                            GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
      ORVANTA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      ORVANTA_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures")
    gtest_discover_tests(${target}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=disk")
  endforeach()
endfunction()
