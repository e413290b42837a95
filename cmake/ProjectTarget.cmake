# Warnings are errors on the project's own targets; third-party headers come in as SYSTEM.
function(qv_project_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
