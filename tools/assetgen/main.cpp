// Placeholder until the asset generator lands: creates the data folder.
#include <cstdio>
#include <filesystem>
int main(int argc, char** argv) {
  if (argc != 2) { fprintf(stderr, "usage: orvanta_assetgen DIR\n"); return 2; }
  std::filesystem::create_directories(argv[1]);
  return 0;
}
