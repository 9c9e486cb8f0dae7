; The registers of the specular ship shaders (ship_spec_env_VS, ship_spec_env_pulse_VS), which share
; one table; the shader without the reflection does not read WORLD and EYE_VECTOR.
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define CAMERA_DIRECTION_OS 4
#define LIGHT_DIRECTION_OS 5
#define MATERIAL_COLOR 6
#define MATERIAL_SPECULAR 7
#define MATERIAL_SPECULAR_POWER 8
#define WORLD 9
#define WORLD_1 10
#define WORLD_2 11
#define WORLD_3 12
#define EYE_VECTOR 13
#define AMBIENT_COLOR 14
