# cmake -DSRC=<src> -P runtime_math.cmake: fails where the code calls the C runtime's square root
# or a transcendental function itself. Their last bit differs between runtimes, and on MinGW
# between a build with optimisation and one without; portable:: has them the same everywhere.
# The preview only draws pictures.
set(call "(^|[^A-Za-z0-9_:.>])(std::)?(sqrt|hypot|cbrt|a?sin|a?cos|a?tan|atan2|exp|expm1|log|log10|log1p|pow)[fl]? *\\(")
file(GLOB_RECURSE sources "${SRC}/*.cpp" "${SRC}/*.h")
set(calls "")
foreach(f IN LISTS sources)
  if(f MATCHES "/preview/|/base/portable_math\\.(h|cpp)$")
    continue()
  endif()
  file(STRINGS "${f}" found REGEX "${call}")
  foreach(line IN LISTS found)
    string(REGEX REPLACE "//.*" "" code "${line}")
    if(code MATCHES "${call}")
      string(STRIP "${line}" line)
      string(APPEND calls "\n  ${f}: ${line}")
    endif()
  endforeach()
endforeach()
if(calls)
  message(FATAL_ERROR "the runtime's own math, where portable:: is meant:${calls}")
endif()
