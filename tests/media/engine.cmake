# Tests of the engine part of src/media
