# Debian's build hardening for every target: fortified libc calls, stack protector, format-string
# checks, read-only relocations bound at start. The flags are the ones dpkg-buildflags gives with
# hardening=+all; its optimisation and debug flags are left to the build type. GCC on Linux only:
# the sanitizer and fuzzing builds (clang) and the Windows cross-build keep their own flags.
if(NOT KELVARA_HARDENING OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   OR KELVARA_SANITIZE OR KELVARA_FUZZ)
  return()
endif()

find_program(KELVARA_DPKG_BUILDFLAGS dpkg-buildflags)
function(kelvara_buildflags var name fallback)
  set(flags "${fallback}")
  if(KELVARA_DPKG_BUILDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-all"
                            ${KELVARA_DPKG_BUILDFLAGS} --get ${name}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      set(flags "${fallback}")
    endif()
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O)") # -g -O2: the build type decides
  set(${var} ${flags} PARENT_SCOPE)
endfunction()
# Fallbacks: what Debian 12's dpkg-buildflags gives, for systems without it.
kelvara_buildflags(cppflags CPPFLAGS "-D_FORTIFY_SOURCE=2")
kelvara_buildflags(cxxflags CXXFLAGS "-fstack-protector-strong -Wformat -Werror=format-security")
kelvara_buildflags(ldflags LDFLAGS "-Wl,-z,relro -Wl,-z,now")
string(REPLACE ";" " " shown "${cppflags};${cxxflags};${ldflags}")
message(STATUS "Hardening flags: ${shown}")

# _FORTIFY_SOURCE needs an optimising build; glibc warns about it in every file of a Debug build.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${cppflags}>" ${cxxflags})
add_link_options(${ldflags})
