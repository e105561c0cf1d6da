# What desktops and software centres read: the icon, in the hicolor theme
# that menus look in by the name the desktop entry gives (Icon=verrine), and
# the AppStream metadata.
#
# The icons are pictures of the toon teapot that verrine-shot draws, made
# by `make pictures` (tools/make-icon.sh) and kept in the repository, so
# building needs neither a display nor ImageMagick.
foreach(size 48 256)
  install(FILES icons/verrine-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME verrine.png)
endforeach()

# The component id is reverse-DNS by rule. The project has no domain of its
# own; its one name is the maintainers' address, under the reserved .example
# domain (RFC 2606), which nobody else can hold: so the id can collide with
# no one's, and plainly says it is to be replaced once the project has a home
# (with a <replaces> entry, so that software centres follow).
set(VERRINE_APPSTREAM_ID example.c_seed_9010af97.verrine)

set(VERRINE_PROVIDED_BINARIES "")
foreach(program verrine ${VERRINE_TOOLS})
  string(APPEND VERRINE_PROVIDED_BINARIES "    <binary>${program}</binary>\n")
endforeach()
set(VERRINE_METAINFO ${CMAKE_CURRENT_BINARY_DIR}/${VERRINE_APPSTREAM_ID}.metainfo.xml)
configure_file(verrine.metainfo.xml.in ${VERRINE_METAINFO} @ONLY)
install(FILES ${VERRINE_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
