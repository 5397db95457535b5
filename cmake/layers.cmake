# The layers of lumora and what each may use. Every library sees only the folders it may
# include, through an include root of its own that links to just those folders; the
# simulation also sees a stand-in for the game library's headers that stops the build. So a
# wrong include fails to compile instead of waiting for a review.
#
#   sim       the world, its rules and its helpers; no game library
#   files     the settings file, numbers in text, paths: sim and POSIX; no game library
#   sound     the sound of each frame, made from the firefly table: sim; no game library
#   link      OSC to and from other programs over UDP: sim, files, sound and POSIX; no game library
#   render    drawing: files, sim and the game library
#   ui        keyboard, mouse, loading and saving: render, files, sim and the game library
#   app       start-up, the frame, its pictures and its sound: everything above
#   headless  the display-less runner: everything above
#   sweep     the sweep runner, beside headless: everything above headless

set(LUMORA_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

# lumora_layer_includes(TARGET FOLDER...): TARGET's sources may include headers from FOLDERs only.
function(lumora_layer_includes target)
  set(root ${LUMORA_INCLUDE_ROOTS}/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# lumora_forbid_game_library(TARGET): including any of the game library's headers stops
# TARGET's build with a message that says why.
function(lumora_forbid_game_library target)
  set(root ${LUMORA_INCLUDE_ROOTS}/no-game-library)
  if(NOT EXISTS ${root}/allegro.h)
    file(GLOB inner RELATIVE /usr/include /usr/include/allegro/*.h /usr/include/allegro/*/*.h)
    foreach(header allegro.h xalleg.h winalleg.h ${inner})
      file(WRITE ${root}/${header}
           "#error \"sim/, files/, sound/ and link/ are plain C++: they may not use the game library\"\n")
    endforeach()
  endif()
  target_include_directories(${target} BEFORE PRIVATE ${root})
endfunction()
