# One shape for every library of the system, so a newcomer who has seen one
# library folder has seen them all:
#
#   include/crv/<area>/...              public headers of the Qt-free half
#   src/                                its sources and private headers (no Qt)
#   qt/                                 the Qt half: sources, private headers, forms
#   qt/include/crv/<area>/<lib>/qt/...  public headers of the Qt half
#   help/*.qrc                          help pages compiled into the Qt half
#   tests/                              GoogleTest of the Qt-free half
#   qt_tests/                           tests of the Qt half
#   bench/                              benchmarks (programs that print figures)
#
# The two halves are the targets crv_<lib> (Qt-free, links no Qt) and
# crv_<lib>_qt (widgets, over crv_<lib>). Only a Qt half gets AUTOMOC,
# AUTOUIC and AUTORCC; nothing else runs Qt's code generators. Code is in the
# namespace crv::<area> (crv::platform, crv::formats, crv::engine,
# crv::binding, crv::common, crv::editors, crv::viewers, crv::main,
# crv::resources), optionally with a sub-namespace of the library
# (crv::common::ui, crv::main::run); its Qt half may use crv::<area>::qt.
# Helpers a file keeps to itself go into detail or an unnamed namespace.
#
# crv_library(<lib> [QT] [INTERFACE] [SOURCES files...] [EXCLUDE regex] [LIBS libs...]
#             [PRIVATE_LIBS libs...])
#   Without QT: crv_<lib> from src/*.cpp and SOURCES, include/ public;
#   INTERFACE makes a header-only library.
#   With QT: crv_<lib>_qt from qt/*.cpp, qt/*.h, qt/*.ui, the public Qt headers,
#   help/*.qrc and SOURCES; qt/include/ public and qt/ for its own sources;
#   linked to crv_<lib> where that exists, and to Qt Widgets. Without the Qt
#   programs (CRV_BUILD_GUI=OFF) it adds nothing.
#   EXCLUDE leaves out the found files whose path matches (what a program
#   builds itself); LIBS are linked publicly, PRIVATE_LIBS privately.
function(crv_library lib)
  cmake_parse_arguments(L "QT;INTERFACE" "EXCLUDE" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  set(_dir ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT L_QT)
    set(_target crv_${lib})
    if(L_INTERFACE)
      add_library(${_target} INTERFACE)
      target_include_directories(${_target} INTERFACE ${_dir}/include)
      target_link_libraries(${_target} INTERFACE ${L_LIBS})
      return()
    endif()
    file(GLOB _srcs CONFIGURE_DEPENDS ${_dir}/src/*.cpp ${_dir}/src/*.h)
    if(L_EXCLUDE)
      list(FILTER _srcs EXCLUDE REGEX "${L_EXCLUDE}")
    endif()
    add_library(${_target} STATIC ${_srcs} ${L_SOURCES})
    target_include_directories(${_target} PUBLIC ${_dir}/include)
  else()
    if(NOT CRV_BUILD_GUI)
      return()
    endif()
    set(_target crv_${lib}_qt)
    file(GLOB _srcs CONFIGURE_DEPENDS ${_dir}/qt/*.cpp ${_dir}/qt/*.h ${_dir}/qt/*.ui
         ${_dir}/qt/include/crv/*/*/qt/*.h ${_dir}/help/*.qrc)
    if(L_EXCLUDE)
      list(FILTER _srcs EXCLUDE REGEX "${L_EXCLUDE}")
    endif()
    add_library(${_target} STATIC ${_srcs} ${L_SOURCES})
    set_target_properties(${_target} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON)
    target_include_directories(${_target} PUBLIC ${_dir}/qt/include PRIVATE ${_dir}/qt)
    if(TARGET crv_${lib})
      target_link_libraries(${_target} PUBLIC crv_${lib})
    endif()
    target_link_libraries(${_target} PUBLIC Qt6::Widgets)
  endif()
  target_link_libraries(${_target} PUBLIC ${L_LIBS} PRIVATE ${L_PRIVATE_LIBS})
endfunction()
