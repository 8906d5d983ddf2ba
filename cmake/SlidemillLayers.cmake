# The source folders form layers: each may use its own headers and those of the layers below,
# never one above or beside it. The order is platform < settings < core < run < sched, engine
# < cli, ui (sched and engine are siblings, and so are cli and ui).
set(SLIDEMILL_LAYERS platform settings core run sched engine cli ui)
set(SLIDEMILL_LAYER_SEES_platform platform)
set(SLIDEMILL_LAYER_SEES_settings platform settings)
set(SLIDEMILL_LAYER_SEES_core platform settings core)
set(SLIDEMILL_LAYER_SEES_run platform settings core run)
set(SLIDEMILL_LAYER_SEES_sched platform settings core run sched)
set(SLIDEMILL_LAYER_SEES_engine platform settings core run engine)
set(SLIDEMILL_LAYER_SEES_cli platform settings core run sched engine cli)
set(SLIDEMILL_LAYER_SEES_ui platform settings core run sched engine ui)

# How the build enforces the order, in three parts:
#
# 1. Link lines. Every layer is its own static library that links only the layers below it,
#    so a call into a higher layer is an undefined reference when a program is linked.
#
# 2. Include views. Headers are named from the source root ("core/Grid.h"), but the root is on
#    no include path. Instead each layer compiles against a folder of its own in the build
#    tree, <build>/layers/<layer>, holding symbolic links to the source folders it may see and
#    nothing else. An upward include from a layer's source, or from any header it includes,
#    is "No such file or directory" when that layer compiles. The views of the layers below
#    are subsets of a layer's own, so the include paths that linking passes up never widen
#    what a layer sees.
#
# 3. An include scan (cmake/CheckLayerIncludes.cmake) run by every build and by CTest. A
#    header that no source of its own layer includes is only ever compiled in the view of a
#    higher layer, so part 2 cannot see its upward include; the scan reads every include line
#    of every layer folder, and also refuses "../" includes (which would step around the
#    views) and Qt outside the window and the D-Bus adaptor.

# Makes <build>/layers/<layer> with links to the folders <layer> may see; sets out_var to it.
function(slidemill_layer_view layer out_var)
  set(view "${PROJECT_BINARY_DIR}/layers/${layer}")
  file(MAKE_DIRECTORY "${view}")
  # A link left from an older order or another source tree would widen or misdirect the view.
  file(GLOB entries LIST_DIRECTORIES true RELATIVE "${view}" "${view}/*")
  foreach(entry IN LISTS entries)
    set(keep FALSE)
    if(entry IN_LIST SLIDEMILL_LAYER_SEES_${layer} AND IS_SYMLINK "${view}/${entry}")
      file(READ_SYMLINK "${view}/${entry}" points_to)
      if(points_to STREQUAL "${PROJECT_SOURCE_DIR}/${entry}")
        set(keep TRUE)
      endif()
    endif()
    if(NOT keep)
      file(REMOVE "${view}/${entry}")
    endif()
  endforeach()
  foreach(folder IN LISTS SLIDEMILL_LAYER_SEES_${layer})
    if(NOT IS_SYMLINK "${view}/${folder}")
      file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${view}/${folder}" SYMBOLIC)
    endif()
  endforeach()
  set(${out_var} "${view}" PARENT_SCOPE)
endfunction()

# slidemill_add_layer(<layer> [LINKS <lower library>...]): the static library slidemill_<layer>
# with every .cpp of the calling folder (but EXCLUDE files), compiled against the layer's view.
function(slidemill_add_layer layer)
  cmake_parse_arguments(ARG "" "" "LINKS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${excluded}")
  endforeach()
  add_library(slidemill_${layer} STATIC ${sources})
  slidemill_layer_view(${layer} view)
  target_include_directories(slidemill_${layer} PUBLIC "${view}")
  if(ARG_LINKS)
    target_link_libraries(slidemill_${layer} PUBLIC ${ARG_LINKS})
  endif()
endfunction()
