# CPack: the Debian package (`make package`: build/verrine_VERSION_ARCH.deb)
# and the Windows download (`make windows`: build-windows/verrine-windows.zip),
# both made of the install layout beside this file.
set(CPACK_PACKAGE_NAME verrine)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for trying GLSL shaders on a fixed OpenGL scene")
set(CPACK_PACKAGE_DESCRIPTION
"Verrine draws a grey cube and a striped teapot on a grid, lit by one light,
through a camera orbited with the mouse, zoomed with the wheel and flown with
held keys. Keys 1 to 3 switch at once between the fixed-function pipeline, a
toon program and an edge program, compiled at start-up from plain GLSL files
that can be edited and tried again.

verrine-check compiles and links those files without a display, for use in
scripts; verrine-shot draws the scene into a PNG file; verrine-live shows the
scene in the viewer's window and draws a shader anew each time it is saved.")
# The programs are built with debugging information; the packages go without.
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME verrine-windows)
else()
  set(VERRINE_MAINTAINER "Verrine maintainers <maintainers@users.noreply.c-seed-9010af97.example>"
      CACHE STRING "Maintainer named in the Debian package")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VERRINE_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # dpkg-shlibdeps names the libraries the programs link; what they load
  # only at run time it cannot see: Mesa's GL drivers, behind libGL and
  # GLX, and EGL, which libepoxy opens for verrine-check and verrine-shot
  # (libEGL itself, and Mesa's driver for it).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri, libglx-mesa0, libegl1, libegl-mesa0")
endif()

include(CPack)
