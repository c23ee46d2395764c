# Debian's hardening flags, as dpkg-buildflags gives them to a package build: the stack protector, the
# fortified C library functions, format-string checks, and full RELRO with immediate binding. Every target gets
# them, so the programs the tests run are the programs the package holds. Only the hardening flags are taken:
# the optimisation and debug levels stay the build type's. Not with the sanitizers, which replace the checked
# functions themselves.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS AND NOT VARDELO_SANITIZE)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag IN LISTS flags)
      if(flag MATCHES "^-D_FORTIFY_SOURCE|^-fstack-protector|^-fstack-clash-protection|^-fcf-protection|^-Wformat|^-Werror=format-security")
        add_compile_options(${flag})
        list(APPEND VARDELO_HARDENING_FLAGS ${flag})
      elseif(flag MATCHES "^-Wl,-z,")
        add_link_options(${flag})
        list(APPEND VARDELO_HARDENING_FLAGS ${flag})
      endif()
    endforeach()
  endforeach()
  message(STATUS "Hardening flags (dpkg-buildflags): ${VARDELO_HARDENING_FLAGS}")
elseif(NOT VARDELO_SANITIZE)
  message(WARNING "dpkg-buildflags not found: the programs are built without Debian's hardening flags")
endif()
