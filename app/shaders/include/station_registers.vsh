; The registers of the space station shaders (space_station_vertex_shader, vertex_paint), which
; share one table; light colour and specular are bound but not read.
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define WORLD 4
#define WORLD_1 5
#define WORLD_2 6
#define WORLD_3 7
#define LIGHT_POSITION_1 8
#define LIGHT_ATTENUATION_1 9
#define LIGHT_COLOR_1 10
#define SPECULAR_POWER 14
#define EYE_VECTOR 15
#define AMBIENT_COLOR 16
#define SPECULAR_COLOR 17
