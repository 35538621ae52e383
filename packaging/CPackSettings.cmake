# The packages, made by CPack from the install rules (scripts/package runs it):
# Linux: a .deb and a .tar.gz of the install tree; Windows: a .zip of raziz.exe, its images and a read-me.
# (RAZIZ_PACKAGE_MAINTAINER is set in packaging/CMakeLists.txt, which writes it into the changelog too.)
set(CPACK_PACKAGE_NAME raziz)
set(CPACK_PACKAGE_VENDOR "Riduvo Audio")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "test-tone generator with nine third-octave bands")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.riduvoaudio.com")
set(CPACK_PACKAGE_CONTACT ${RAZIZ_PACKAGE_MAINTAINER})
# Release binaries are built with their symbols; the packages carry them stripped.
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME raziz-${PROJECT_VERSION}-windows-x86_64)
  # The zip unpacks into one folder that holds the program, its images and the read-me together.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR "DEB;TGZ")
  set(CPACK_PACKAGE_FILE_NAME raziz-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # libpulse is opened when the sound starts, not linked, so the library scan above does not find it.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libpulse0")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Raziz plays test tones for people who test loudspeakers, rooms, hearing and
audio chains. Its window holds nine channel strips, one for each third-octave
band from 500 Hz to 3150 Hz. Each strip switches a continuous tone on and off,
takes a typed frequency, sets the level with a slider or a number and plays a
sine, square or triangle wave; any number of bands sound at once. Square and
triangle waves are band-limited, and tones switch without clicks.
.
raziz-render renders the same tones into a WAV file without a sound device.")
  # Directories in the package are 0755 whatever the umask of whoever builds it.
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
      OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()

include(CPack)
