# What links what, between the top folders, as the build says it: every
# library and program the shipped build makes (the closure of what CRV,
# CRV_Sci, the engine, its driver and the sample writer link) is mapped to
# the top folder it is defined in, and each link between two of our targets
# in different folders is one edge "FROM TO". A link to Qt is the edge
# "FROM Qt". The list goes to LAYERS.txt in the build folder, and the test
# layer_table compares it with the layer table of docs/architecture.md, so
# the table cannot drift from the CMake graph.

# The top folder a target is defined in (platform, formats, engine, ...).
function(_crv_layer_of target out)
  get_target_property(_dir ${target} SOURCE_DIR)
  file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_dir})
  string(REGEX REPLACE "/.*" "" _top "${_rel}")
  set(${out} "${_top}" PARENT_SCOPE)
endfunction()

function(crv_write_layer_graph roots)
  set(_todo)
  foreach(_r ${roots})
    if(TARGET ${_r})
      list(APPEND _todo ${_r})
    endif()
  endforeach()
  set(_seen)
  set(_edges)
  while(_todo)
    list(POP_FRONT _todo _t)
    if(_t IN_LIST _seen)
      continue()
    endif()
    list(APPEND _seen ${_t})
    _crv_layer_of(${_t} _from)
    get_target_property(_links ${_t} LINK_LIBRARIES)
    get_target_property(_ilinks ${_t} INTERFACE_LINK_LIBRARIES)
    foreach(_d ${_links} ${_ilinks})
      # A static library's private links appear as $<LINK_ONLY:target>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" _d "${_d}")
      if(_d MATCHES "^Qt6::")
        list(APPEND _edges "${_from} Qt")
        continue()
      endif()
      # Only our own targets: system libraries and imported packages are not layers.
      if(NOT TARGET ${_d})
        continue()
      endif()
      get_target_property(_imported ${_d} IMPORTED)
      if(_imported)
        continue()
      endif()
      _crv_layer_of(${_d} _to)
      if(NOT _to STREQUAL _from)
        list(APPEND _edges "${_from} ${_to}")
      endif()
      list(APPEND _todo ${_d})
    endforeach()
  endwhile()
  list(REMOVE_DUPLICATES _edges)
  list(SORT _edges)
  list(JOIN _edges "\n" _text)
  file(WRITE ${CMAKE_BINARY_DIR}/LAYERS.txt "${_text}\n")
endfunction()
