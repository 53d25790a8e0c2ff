# Sources of the cd part of src/media
