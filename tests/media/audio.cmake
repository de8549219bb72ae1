# filled in by the audio module
