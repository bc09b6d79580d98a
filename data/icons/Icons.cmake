# The dialogs' icons by resource number (the number the dialogs load them by) and drawing
# (data/icons/NAME.svg, on a 16 x 16 grid). Linux compiles the drawings into Qt resources; Windows
# makes .ico files of them (make-ico.sh) for the library's icon resources.
set(ATMOCALC_ICONS
  102 plugin
  104 add
  105 remove
  106 remove-all
  107 open
  111 reload
  112 settings
  114 components
  117 report
  119 about
)

# Windows: gives a target the icons as icon resources under their numbers, made at build time from the
# drawings: the plug-in's own (captions, the About box) at every size, the buttons' at 16 to 32 pixels.
# The .ico files are made once per tree, for every target that carries them (the library, the programs
# that show its dialogs).
function(atmocalc_icon_resources target)
  set(icon_dir ${CMAKE_BINARY_DIR}/icons)
  set(icon_rc ${icon_dir}/icons.rc)
  if(NOT TARGET atmocalc_icons)
    set(icons ${ATMOCALC_ICONS})
    set(icon_lines "// Made by data/icons/Icons.cmake.\n")
    set(icon_files)
    while(icons)
      list(POP_FRONT icons number name)
      set(ico ${icon_dir}/${number}.ico)
      set(sizes)
      if(NOT number EQUAL 102)
        set(sizes 16 20 24 32)
      endif()
      add_custom_command(OUTPUT ${ico}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
        COMMAND ${CMAKE_SOURCE_DIR}/data/icons/make-ico.sh ${CMAKE_SOURCE_DIR}/data/icons/${name}.svg ${ico} ${sizes}
        DEPENDS ${CMAKE_SOURCE_DIR}/data/icons/${name}.svg ${CMAKE_SOURCE_DIR}/data/icons/make-ico.sh
        COMMENT "Icon ${number} from ${name}.svg" VERBATIM)
      string(APPEND icon_lines "${number} ICON \"${ico}\"\n")
      list(APPEND icon_files ${ico})
    endwhile()
    file(CONFIGURE OUTPUT ${icon_rc} CONTENT "${icon_lines}")
    add_custom_target(atmocalc_icons DEPENDS ${icon_files})
    set_property(GLOBAL PROPERTY ATMOCALC_ICON_FILES "${icon_files}")
  endif()
  get_property(icon_files GLOBAL PROPERTY ATMOCALC_ICON_FILES)
  target_sources(${target} PRIVATE ${icon_rc})
  add_dependencies(${target} atmocalc_icons)
  set_source_files_properties(${icon_rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS "${icon_files}")
endfunction()
