#pragma once
// The command module: the commands that need the engine (render, info, resave, strokes) and the
// picture formats of Qt, in a library that the vorn program loads only when one of them is asked
// for. The netpbm and IMG conversions of `vorn img` thus start without loading Qt at all.

#include "Netpbm.h"

#include <string>

namespace vorncli {

struct TCommandModule {
  // Runs a command of the module; argv[1] is its name.
  int (*Run)(int argc, char** argv);
  // Any picture Qt reads (Data is the file's content, FileName gives the format a hint), made
  // 1-bit as the IMG encoder wants it: dithered when it has colours or grey levels.
  bool (*ReadPicture)(const std::string& Data, const std::string& FileName, TBitmapRows& Rows, std::string& Error);
  // True when Qt writes pictures of this format ("png", "bmp", ...).
  bool (*CanWrite)(const std::string& Format);
  // Writes Rows to FileName in Format.
  bool (*WritePicture)(const TBitmapRows& Rows, const std::string& FileName, const std::string& Format,
                       std::string& Error);
};

// Loads the module on first use (beside the program, at the place the build and the installation
// give it); null with Error set when it cannot be loaded.
const TCommandModule* CommandModule(std::string& Error);

}  // namespace vorncli

// The module's one exported entry.
extern "C" const vorncli::TCommandModule* VornCommandModule();
