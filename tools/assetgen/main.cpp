// orvanta_assetgen DIR [--dialog-bitmap FILE] [--text-models]
// Writes the show's whole data tree into DIR from code (the same build always writes the same bytes);
// the package writer then packs DIR into Orvanta.pac. With --dialog-bitmap it also writes the picture
// of the start-up dialog, which the Windows build compiles into the program as a resource. The models
// are binary .X files; --text-models writes the same models in text form (for tests that edit them).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "DataSets.h"
#include "Mp3Encoder.h"
#include "Song.h"
#include "XWriter.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: orvanta_assetgen DIR [--dialog-bitmap FILE] [--text-models]\n");
  return 2;
}

bool Fail(const char* what) {
  std::fprintf(stderr, "orvanta_assetgen: %s failed\n", what);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir, dialogBitmap;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dialog-bitmap") == 0 && i + 1 < argc) dialogBitmap = argv[++i];
    else if (std::strcmp(argv[i], "--text-models") == 0) XWriter::SetDefaultForm(XWriter::Form::Text);
    else if (argv[i][0] != '-' && dir.empty()) dir = argv[i];
    else return Usage();
  }
  if (dir.empty()) return Usage();
  const auto start = std::chrono::steady_clock::now();
  std::error_code ec;
  std::filesystem::create_directories(dir + "/Msx", ec);
  if (ec) return Fail("creating the data folder"), 1;

  // The encoder runs in its own process while the pictures and models are made.
  Mp3Encoder mp3;
  if (!mp3.Start(ComposeSoundtrack(), dir + "/Msx/Orvanta by Brenholt.mp3")) return Fail("starting lame"), 1;
  bool ok = (WriteTunnelData(dir) || Fail("Tunnel")) && (WriteBlobData(dir) || Fail("Blob")) &&
            (WriteOverlayData(dir) || Fail("overlays")) &&
            (WriteStationData(dir) || Fail("Station")) && (WriteStarData(dir) || Fail("Star")) &&
            (WriteRoomData(dir) || Fail("Room")) &&
            (dialogBitmap.empty() || WriteDialogBitmap(dialogBitmap) || Fail("dialog bitmap"));
  ok = (mp3.Finish() || Fail("encoding the soundtrack")) && ok;
  if (!ok) return 1;

  uintmax_t files = 0, bytes = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
    if (e.is_regular_file()) ++files, bytes += e.file_size();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("orvanta_assetgen: %ju files, %ju bytes in %.1f s\n", files, bytes, seconds);
  return 0;
}
