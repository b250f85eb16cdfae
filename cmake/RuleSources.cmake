# Sources of the rules that need no system call. They build into the
# installer and, natively, into a fast unit-test binary and the fuzz targets.
# Each subsystem lists its own in rules.cmake beside its sources.
set(RULE_SOURCES common/chars.h common/bounded.h)
foreach(part app payload discovery jui plugin)
  set(PART_RULES)
  include(${CMAKE_CURRENT_LIST_DIR}/../${part}/rules.cmake OPTIONAL)
  foreach(src IN LISTS PART_RULES)
    list(APPEND RULE_SOURCES ${part}/${src})
  endforeach()
endforeach()
