# The audio layer and the sound player: heard through SDL's disk driver, and
# silent without a device or a good music file. Their sources are built into
# the test program with the sanitizers, so that a fault in the stream or effect
# handling fails the suite.
set(quillory_audio_sources
  ${PROJECT_SOURCE_DIR}/media/audio_output.cpp
  ${PROJECT_SOURCE_DIR}/media/quiet_decoder_mpg123.cpp
  ${PROJECT_SOURCE_DIR}/media/audio_library_dlopen.cpp
  ${PROJECT_SOURCE_DIR}/media/sound_player.cpp)
set(quillory_audio_libs PkgConfig::SDL2_MIXER PkgConfig::MPG123 ${CMAKE_DL_LIBS} quillory_asset_file)
if(ALSA_FOUND)
  list(APPEND quillory_audio_libs PkgConfig::ALSA)
endif()
quillory_test(sound_player_test
  SOURCES sound_player_test.cpp audio_quiet_test.cpp audio_signal.cpp
  SANITIZED_SOURCES ${quillory_audio_sources}
  LIBS ${quillory_audio_libs})
if(ALSA_FOUND)
  target_compile_definitions(sound_player_test PRIVATE QUILLORY_HAVE_ALSA=1)
endif()

# The committed background music: its length, level and seam, and its loop as played.
quillory_test(music_asset_test
  SOURCES music_asset_test.cpp audio_signal.cpp
  LIBS quillory_media PkgConfig::SDL2_MIXER)
