# Sources of the sequencer part of src/media
