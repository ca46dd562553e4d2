# SPDX-License-Identifier: Apache-2.0
# Writes the build's date into OUTPUT, touching the file only when the date changed, so that
# what includes it is rebuilt once a day at the most.
string(TIMESTAMP date "%d-%m-%Y")
file(WRITE "${OUTPUT}.new" "#define ADUPLAN_BUILD_DATE \"${date}\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUTPUT}.new" "${OUTPUT}")
file(REMOVE "${OUTPUT}.new")
