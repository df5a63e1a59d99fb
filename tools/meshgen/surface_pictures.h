#pragma once
// The pictures on the model's surfaces, drawn when the media are generated:
// circuit boards, metals, grilles, stickers, sockets' faces. The board, the
// case floor and the desk also get the soft shadows of what stands on them.

#include <string>
#include <utility>
#include <vector>

#include "parts_table.h"
#include "picture.h"

namespace meshgen::pictures {

// File names, as the mesh files refer to them.
inline const std::string kMotherboard = "motherboard.png";
inline const std::string kCaseFloor = "case_floor.png";
inline const std::string kDesk = "desk.png";
inline const std::string kBrushed = "brushed_metal.png";
inline const std::string kPainted = "painted_metal.png";
inline const std::string kGrille = "grille.png";
inline const std::string kCardBoard = "card_board.png";
inline const std::string kVideoBoard = "video_board.png";
inline const std::string kMemoryBoard = "memory_board.png";
inline const std::string kChip = "chip.png";
inline const std::string kFanSticker = "fan_sticker.png";
inline const std::string kFrontPanel = "front_panel.png";
inline const std::string kDriveBezel = "drive_bezel.png";
inline const std::string kUsbFace = "usb_face.png";
inline const std::string kNetworkFace = "network_face.png";
inline const std::string kDsubFace = "dsub_face.png";
inline const std::string kHdmiFace = "hdmi_face.png";
inline const std::string kCapacitorSleeve = "capacitor.png";
inline const std::string kKeys = "keys.png";
inline const std::string kSerialLabel = "serial_label.png";
inline const std::string kPinHeader = "pin_header.png";
inline const std::string kSataMouth = "sata_mouth.png";
inline const std::string kChoke = "choke.png";

// Every picture with its file name. Pictures with shadows look for what
// stands on their surface in the table.
std::vector<std::pair<std::string, Picture>> surfacePictures(const std::vector<MeshFileSpec>& table);

}  // namespace meshgen::pictures
