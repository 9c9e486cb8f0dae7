; The registers of the sky box shaders (sky_box_vs, sky_box_vs_vertex_color), which share one table.
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define MATERIAL_COLOR 4
#define AMBIENT_COLOR 5
#define CAMERA_DIRECTION 6
