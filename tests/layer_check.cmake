# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)
# The layer test: every core file may include only its own layer and the
# layers below it. Run as  cmake -DROOT=<source folder> -P layer_check.cmake
# Prints one line per offending include, naming the file and the include,
# and fails when there is any.
set(LAYERS model rules ai worldgen persist game)
set(ALLOWED_model    model)
set(ALLOWED_rules    model rules)
set(ALLOWED_ai       model rules ai)
set(ALLOWED_worldgen model rules worldgen)
set(ALLOWED_persist  model rules persist)
set(ALLOWED_game     model rules ai worldgen persist game)
# Folders that are not layers of the core but could be named by mistake.
set(OUTSIDE ui tools tests bench)

set(problems 0)
foreach(layer ${LAYERS})
  file(GLOB files ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" target "${line}")
      # "../game/x.h" names the game layer as surely as "game/x.h" does.
      string(REGEX REPLACE "^(\\.\\./|\\./)+" "" stripped "${target}")
      string(REGEX MATCH "^[^/]+/" folder "${stripped}")
      string(REGEX REPLACE "/$" "" folder "${folder}")
      if(NOT folder)
        continue()  # a file of the same folder
      endif()
      if(folder IN_LIST LAYERS OR folder IN_LIST OUTSIDE)
        if(NOT folder IN_LIST ALLOWED_${layer})
          file(RELATIVE_PATH shown ${ROOT} ${file})
          string(REPLACE ";" "/, " allowed "${ALLOWED_${layer}}")
          message("layer check: ${shown} includes \"${target}\": ${layer}/ may include only ${allowed}/")
          math(EXPR problems "${problems} + 1")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()
if(problems GREATER 0)
  message(FATAL_ERROR "layer check: ${problems} include(s) reach a layer above their own")
endif()
message("layer check: every core include stays within its layer or below")
