# The hardening Debian builds its own packages with, on the optimised builds
# that become packages: stack protector, checked string and memory functions
# (they need optimisation; the sanitizers check the debug build instead),
# format strings checked, relocations read-only and bound at start-up.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-fstack-protector-strong;-Wformat;-Werror=format-security;-D_FORTIFY_SOURCE=2>")
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
