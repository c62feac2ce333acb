# The program's libraries in layers, lowest first. A library may link only libraries of lower
# layers, every trimjet_ library must have a layer, and the libraries without windows must not
# reach Qt Widgets by any path. Checked when the build is configured, so an upward link or a
# widget in the core fails at once instead of creeping in.
set(TRIMJET_LAYERS
  "trimjet_engine trimjet_plugin_core"                   # pictures; the plug-in's own code
  "trimjet_helpers"                                      # core: paths, strings, program facts
  "trimjet_optcore"                                      # core: the optimiser's rules
  "trimjet_batchjob trimjet_settings trimjet_thumbnailhelper"  # core: the batch; settings
  "trimjet_uikit"                                        # controls: the dialog seam, windows
  "trimjet_controls trimjet_cli_core"                    # controls; the command-line tool
  "trimjet_browse"                                       # browse
  "trimjet_optimizer trimjet_windows"                    # the optimiser; the main window
  "trimjet_batch"                                        # the wizard
  "trimjet_app")                                         # the shell and start-up
set(TRIMJET_WIDGET_FREE
  trimjet_helpers trimjet_optcore trimjet_plugin_core trimjet_settings trimjet_engine
  trimjet_thumbnailhelper trimjet_batchjob trimjet_cli_core)

# The libraries target links, directly and as its users inherit them.
function(trimjet_direct_links target out)
  set(result "")
  foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libs ${target} ${prop})
    if(NOT libs)
      continue()
    endif()
    foreach(lib IN LISTS libs)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
      list(APPEND result "${lib}")
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES result)
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

function(trimjet_check_widget_free target via)
  trimjet_direct_links(${target} libs)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "Widgets")
      message(FATAL_ERROR "${via} has no windows but reaches ${lib} (through ${target})")
    endif()
    if(TARGET ${lib} AND NOT lib MATCHES "^Qt6::")
      trimjet_check_widget_free(${lib} ${via})
    endif()
  endforeach()
endfunction()

function(trimjet_check_layers)
  set(index 0)
  foreach(layer IN LISTS TRIMJET_LAYERS)
    string(REPLACE " " ";" libs "${layer}")
    foreach(lib IN LISTS libs)
      set(layer_of_${lib} ${index})
    endforeach()
    math(EXPR index "${index} + 1")
  endforeach()

  # Every library of the program has a layer (demonstration programs' helpers need none).
  set(dirs ${CMAKE_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    if(dir MATCHES "/(demo|bench|tests|fuzz)(/|$)")
      continue()
    endif()
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "STATIC_LIBRARY" AND target MATCHES "^trimjet_"
         AND NOT target MATCHES "^trimjet_test" AND NOT DEFINED layer_of_${target})
        message(FATAL_ERROR "${target} has no layer in TRIMJET_LAYERS (cmake/TrimjetLayers.cmake)")
      endif()
    endforeach()
  endwhile()

  foreach(layer IN LISTS TRIMJET_LAYERS)
    string(REPLACE " " ";" libs "${layer}")
    foreach(lib IN LISTS libs)
      if(NOT TARGET ${lib})
        continue()
      endif()
      trimjet_direct_links(${lib} links)
      foreach(dep IN LISTS links)
        if(DEFINED layer_of_${dep} AND NOT layer_of_${dep} LESS layer_of_${lib})
          message(FATAL_ERROR "${lib} (layer ${layer_of_${lib}}) links ${dep} "
                              "(layer ${layer_of_${dep}}): a library links lower layers only")
        endif()
      endforeach()
    endforeach()
  endforeach()

  foreach(lib IN LISTS TRIMJET_WIDGET_FREE)
    if(TARGET ${lib})
      trimjet_check_widget_free(${lib} ${lib})
    endif()
  endforeach()
endfunction()

trimjet_check_layers()
