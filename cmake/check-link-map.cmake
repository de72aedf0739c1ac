# Fails the build when the shipped executable takes an object from the thread library or the
# exception unwinder. The runtime needs neither; one guarded function-local static or one throwing
# library call brings both back (some 60 KB), and nothing else would say so. The link map names
# each object taken and the reference that took it.
# Called with -DMAP=<the link map>.
file(STRINGS "${MAP}" lines)
set(taken "")
set(previous "")
foreach(line IN LISTS lines)
  if(line MATCHES "^Discarded input sections")
    break()  # the list of archive members taken ends here
  endif()
  if(previous MATCHES "lib(pthread|gcc_eh)\\.a\\(([^)]*)\\)$")
    string(STRIP "${line}" reference)
    string(APPEND taken "\n  ${previous}\n      for ${reference}")
  endif()
  set(previous "${line}")
endforeach()
if(taken)
  message(FATAL_ERROR "The executable takes objects it must do without:${taken}")
endif()
