# SPDX-License-Identifier: GPL-3.0-or-later
# The translations, compiled with the host's lrelease (the Windows Qt has no
# tools of its own; .qm files are the same on every platform) and built into
# the windows library as the resource ":/translations", beside Qt's own pt_BR
# translation of its standard buttons and dialogs (Debian's
# qt6-translations-l10n). The .ts goes in too: the windows read the formats of
# the plain C++ messages from it (app/translation.cpp).
find_program(ZELK_LRELEASE NAMES lrelease HINTS /usr/lib/qt6/bin NO_DEFAULT_PATH REQUIRED)
set(ZELK_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Qt's own .qm files (host)")

function(zelk_translation_resources target)
  set(source ${PROJECT_SOURCE_DIR}/translations/programable-zelk_pt_BR.ts)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/translations)
  set(qtbase ${ZELK_QT_TRANSLATIONS}/qtbase_pt_BR.qm)
  if(NOT EXISTS ${qtbase})
    message(FATAL_ERROR "${qtbase} is missing: install qt6-translations-l10n")
  endif()
  file(MAKE_DIRECTORY ${out})
  file(WRITE ${out}/translations.qrc.in [=[<!DOCTYPE RCC>
<RCC version="1.0">
 <qresource prefix="/translations">
  <file>programable-zelk_pt_BR.qm</file>
  <file>programable-zelk_pt_BR.ts</file>
  <file>qtbase_pt_BR.qm</file>
 </qresource>
</RCC>
]=])
  configure_file(${out}/translations.qrc.in ${out}/translations.qrc COPYONLY)
  add_custom_command(
    OUTPUT ${out}/qrc_translations.cpp ${out}/programable-zelk_pt_BR.qm
    COMMAND ${ZELK_LRELEASE} -silent ${source} -qm ${out}/programable-zelk_pt_BR.qm
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${out}/programable-zelk_pt_BR.ts
    COMMAND ${CMAKE_COMMAND} -E copy ${qtbase} ${out}/qtbase_pt_BR.qm
    # --no-zstd: the Windows Qt is built without zstd, which the host rcc would use.
    COMMAND Qt6::rcc --no-zstd --name translations -o ${out}/qrc_translations.cpp ${out}/translations.qrc
    DEPENDS ${source} ${qtbase} ${out}/translations.qrc
    WORKING_DIRECTORY ${out}
    COMMENT "Compiling the translations"
    VERBATIM)
  target_sources(${target} PRIVATE ${out}/qrc_translations.cpp)
  set_source_files_properties(${out}/qrc_translations.cpp PROPERTIES SKIP_AUTOGEN ON)
endfunction()
