# What a careful user may expect of the image, for the GNU-style compilers and
# linkers (GCC with ld, Clang with lld). scripts/check-binary checks the result.
#
# Checked to hold for this image only: the i686 compiler unwinds with DWARF
# tables, and nothing in the program or its static run-time registers an SEH
# handler, so the PE32 says it has none (--no-seh) in place of a SafeSEH
# table, which GNU ld cannot write.

target_compile_options(tamsaek_settings INTERFACE -fstack-protector-strong)
# On the link line too, so that the driver links the guard's run-time
# (libssp, statically like the rest).
target_link_options(tamsaek_settings INTERFACE -fstack-protector-strong)
# The checked string and memory functions of mingw-w64's headers; they need
# optimisation, which every build here has but Debug.
target_compile_definitions(tamsaek_settings INTERFACE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)

# Debug information for the file kept beside the shipped image, so that a
# crash can be read down to the line; the image itself goes without it.
target_compile_options(tamsaek_settings INTERFACE -g)

# The same bytes from every folder: no build paths in the code or the debug
# information (the build folder is named after the source folder, which may
# hold it).
target_compile_options(tamsaek_settings INTERFACE
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)

target_link_options(tamsaek_settings INTERFACE
  LINKER:--dynamicbase LINKER:--nxcompat LINKER:--tsaware LINKER:--no-insert-timestamp)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  target_link_options(tamsaek_settings INTERFACE LINKER:--high-entropy-va)
else()
  # 4 GiB on 64-bit Windows rather than 2: room for a drive of millions of folders.
  target_link_options(tamsaek_settings INTERFACE LINKER:--large-address-aware LINKER:--no-seh)
endif()

# The shipped image goes without debug information and symbols; they stay
# beside it in <image>.debug, which the image names (a debug link), so that
# a crash can still be read. Left as it is for Clang, whose build is a check
# of the code alone.
function(tamsaek_ship_stripped target)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    return()
  endif()
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "no objcopy for ${CMAKE_CXX_COMPILER}: the shipped image cannot be stripped")
  endif()
  # objcopy stamps what it writes with the time unless told a time; 0 is
  # what the linker writes (--no-insert-timestamp).
  set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${objcopy} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${objcopy} --strip-all --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug $<TARGET_FILE:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
