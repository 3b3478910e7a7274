# SPDX-License-Identifier: GPL-3.0-or-later
# PNG renders of the SVG icons in ui/icons for the Windows build (its Qt has no
# SVG support), made at build time with rsvg-convert (librsvg2-bin), and the
# program's .ico (icotool from icoutils).

find_program(ZELK_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ZELK_ICOTOOL icotool REQUIRED)

# render(SVG PNG PIXELS): one square render.
function(zelk_render_svg svg png pixels)
  add_custom_command(OUTPUT ${png}
    COMMAND ${ZELK_RSVG_CONVERT} --width ${pixels} --height ${pixels} --output ${png} ${svg}
    DEPENDS ${svg} VERBATIM)
endfunction()

# The window icons under the names the .ui files use (":/icons/read"), at the
# tool buttons' 40 px and at 80 px for 200 % screens (Qt picks "@2x" itself).
function(zelk_png_icon_resources target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/icons)
  file(MAKE_DIRECTORY ${dir})
  file(GLOB svgs ${PROJECT_SOURCE_DIR}/ui/icons/*.svg)
  set(pngs)
  foreach(svg ${svgs})
    get_filename_component(name ${svg} NAME_WE)
    foreach(scale 1 2)
      math(EXPR pixels "40 * ${scale}")
      set(suffix "")
      if(scale GREATER 1)
        set(suffix "@${scale}x")
      endif()
      set(png ${dir}/${name}${suffix}.png)
      zelk_render_svg(${svg} ${png} ${pixels})
      set_source_files_properties(${png} PROPERTIES QT_RESOURCE_ALIAS icons/${name}${suffix})
      list(APPEND pngs ${png})
    endforeach()
  endforeach()
  # Named as ui/resources.qrc is, for the Q_INIT_RESOURCE(resources) of the windows.
  qt_add_resources(${target} resources PREFIX / BASE ${dir} FILES ${pngs} OPTIONS --no-zstd)
endfunction()

# The program's icon for Explorer and the taskbar: 16 to 256 px in one .ico.
function(zelk_program_ico ico_name)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/ico)
  file(MAKE_DIRECTORY ${dir})
  set(svg ${PROJECT_SOURCE_DIR}/ui/icons/zelk.svg)
  set(pngs)
  foreach(pixels 16 24 32 48 64 256)
    zelk_render_svg(${svg} ${dir}/zelk-${pixels}.png ${pixels})
    list(APPEND pngs ${dir}/zelk-${pixels}.png)
  endforeach()
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${ico_name}
    COMMAND ${ZELK_ICOTOOL} --create --output ${CMAKE_CURRENT_BINARY_DIR}/${ico_name} ${pngs}
    DEPENDS ${pngs} VERBATIM)
endfunction()
