// The show's data, one writer per part of the package. Each writes its files below `root` (the data
// tree that is packed into Orvanta.pac), creating its folder, and returns false on the first failure.
#pragma once
#include <string>

bool WriteTunnelData(const std::string& root);
bool WriteBlobData(const std::string& root);
bool WriteOverlayData(const std::string& root);
bool WriteStationData(const std::string& root);
bool WriteStarData(const std::string& root);
bool WriteRoomData(const std::string& root);
// The picture of the start-up and results dialogs: a 24-bit BMP of 150 x 105 pixels (100 x 65 dialog
// units at the default dialog font).
bool WriteDialogBitmap(const std::string& path);
