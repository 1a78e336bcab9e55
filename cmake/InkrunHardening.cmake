# Two protections that Debian 12's compiler does not turn on by itself and its dpkg-buildflags
# does not offer, for every program built here where the compiler and linker take them without a
# word:
#   -fstack-clash-protection   a large or variable stack frame is probed page by page, so it
#                              cannot jump over the guard page into another mapping
#   -fcf-protection            indirect branches land only on marked instructions and returns are
#                              checked against a shadow stack (x86's IBT and shadow stack)
# The linker marks a program as built for the second only when every object it links is marked.
# Debian 12's C library start files (Scrt1.o, crti.o, crtn.o) are not, so the mark is asked for
# with -z ibt and -z shstk; the code we compile carries the instructions the mark stands for.
#
# Flags the build was given already (the Debian package's, from debian/rules) are not repeated.
# Windows builds take neither: their stack is probed page by page anyway (___chkstk_ms), MinGW's
# GCC 12 stops with an internal error on -fstack-clash-protection in a frame larger than a page,
# and a PE file has no place for the marks that would put -fcf-protection to use.
if(WIN32)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)

if(NOT CMAKE_CXX_FLAGS MATCHES "-fstack-clash-protection")
  check_cxx_compiler_flag(-fstack-clash-protection INKRUN_HAVE_STACK_CLASH_PROTECTION)
  if(INKRUN_HAVE_STACK_CLASH_PROTECTION)
    add_compile_options(-fstack-clash-protection)
  endif()
endif()

if(NOT CMAKE_CXX_FLAGS MATCHES "-fcf-protection")
  check_cxx_compiler_flag(-fcf-protection INKRUN_HAVE_CF_PROTECTION)
  check_linker_flag(CXX "LINKER:-z,ibt,-z,shstk" INKRUN_HAVE_CET_MARKS)
  if(INKRUN_HAVE_CF_PROTECTION AND INKRUN_HAVE_CET_MARKS)
    add_compile_options(-fcf-protection)
    add_link_options("LINKER:-z,ibt,-z,shstk")
  endif()
endif()
