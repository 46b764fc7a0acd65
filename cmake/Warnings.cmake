# Warnings are errors on the program's own code; third-party code keeps its own settings.
function(tarvik_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-qual
    -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations)
endfunction()
