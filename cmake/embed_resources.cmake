# Writes OUT: a C++ source holding the bytes of the resource script RC and its id header RC_H,
# so that the headless host reads the very templates the Windows build compiles.
function(embed var path out)
  file(READ ${path} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(LENGTH "${hex}" n)
  math(EXPR n "${n} / 2")
  set(${out} "extern const char ${var}[];\nconst char ${var}[] = {${bytes} 0};\nextern const unsigned long ${var}_size;\nconst unsigned long ${var}_size = ${n};\n" PARENT_SCOPE)
endfunction()
embed(veltrum_resource_script ${RC} a)
embed(veltrum_resource_header ${RC_H} b)
file(WRITE ${OUT} "// Generated from the resource script; do not edit.\n${a}${b}")
