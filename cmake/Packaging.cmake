# A Debian package through CPack: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zev)
set(CPACK_PACKAGE_VENDOR "ZEV developers")
set(CPACK_PACKAGE_CONTACT "ZEV developers <zev@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the sheet of a role-playing character")
set(CPACK_PACKAGE_DESCRIPTION
    "ZEV shows the nine attributes and thirty skills of one character as rows of marks.\n\
The left mouse button raises a trait, the right one lowers it, and the sheet is\n\
saved as a text file named after the character.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies are read off the binary; the sheet's face is carried inside it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
