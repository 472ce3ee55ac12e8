# Packages built with CPack from the installed files: a .deb on Linux; the Windows build adds its
# installer and zip below. Included from the top CMakeLists.txt after every install() rule.
# The version is the project's one version, set in project() at the top.

# ---- Common to every package ------------------------------------------------------------------
set(CPACK_PACKAGE_NAME "vellumo")
set(CPACK_PACKAGE_VENDOR "Corvane")  # the maker, as the About box names it
set(CPACK_PACKAGE_CONTACT "Corvane <vellumo@corvane.example>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wallpaper rotator")
# In lines of Debian's width: the .deb shows them as they are.
set(CPACK_PACKAGE_DESCRIPTION [[
Vellumo changes the desktop wallpaper through a folder, or a whole folder
tree, of pictures (BMP, JPEG, GIF), in list order or at random, once at
every login or on demand. It shows a small change notice that fades out,
and chooses tile, centre or stretch from the picture's size and shape.]])
set(CPACK_PACKAGE_HOMEPAGE_URL "http://corvane.example/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vellumo")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")

# ---- Linux: the .deb --------------------------------------------------------------------------
if(NOT WIN32)
  set(CPACK_GENERATOR "DEB")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # vellumo_<version>_amd64.deb
  set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # the Depends line from the libraries it links
  set(CPACK_STRIP_FILES ON)  # the build's debug information stays in the build folder
endif()

# ---- Windows: installer (NSIS) and zip ---------------------------------------------------------
if(WIN32)
  set(CPACK_GENERATOR "NSIS;ZIP")
  # vellumo-<version>-setup.exe and vellumo-<version>-win64.zip: one name per generator.
  set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/src/windows/package/cpack-names.cmake")
  # Our NSIS.template.in: a per-user install, with no administrator (see the file).
  list(APPEND CMAKE_MODULE_PATH "${PROJECT_SOURCE_DIR}/src/windows/package")
  set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")  # escaped twice: CPack writes it into a .cmake file
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Vellumo")  # one Apps & features entry across updates
  set(CPACK_NSIS_PACKAGE_NAME "Vellumo")
  set(CPACK_NSIS_DISPLAY_NAME "Vellumo")
  set(CPACK_NSIS_INSTALLED_ICON_NAME "vellumo.exe")
  set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/art/vellumo.ico")
  set(CPACK_NSIS_MUI_UNIICON "${CPACK_NSIS_MUI_ICON}")
  set(CPACK_NSIS_URL_INFO_ABOUT "${CPACK_PACKAGE_HOMEPAGE_URL}")
  set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
endif()

include(CPack)
