// Placeholder until the package writer lands: writes an empty file.
#include <cstdio>
int main(int argc, char** argv) {
  if (argc != 3) { fprintf(stderr, "usage: orvanta_pack DIR FILE\n"); return 2; }
  FILE* f = fopen(argv[2], "wb");
  return f && fclose(f) == 0 ? 0 : 1;
}
