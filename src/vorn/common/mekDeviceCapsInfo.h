#pragma once
// TmekDeviceCapsInfo: what a shape's painting may want to know about the device it draws on
// (screen, image, printer, vector file). The surface's own painting passes none; whoever paints
// a document onto another device fills one and passes it, so shapes can adapt (pictures sent
// to printers, aspect corrections of devices whose pixels are not square).

#include <cstdint>

namespace vorn {

struct TmekDeviceCapsInfo {
  // Device technology as the platform reports it (DT_... below): 1 is a raster display.
  int32_t Technology = 1;
  // Resolution in pixels per inch.
  int32_t LogPixelsX = 0;
  int32_t LogPixelsY = 0;
  int32_t BitsPixel = 0;
  int32_t Planes = 1;
  // Raster capability bits as the platform reports them.
  int32_t RasterCaps = 0;
  // The output goes to a printer through the platform's drawing interface.
  bool IsGDIPrinting = false;
  // Scale corrections for devices whose units differ from the nominal resolution.
  double CorrectionFactorX = 1.0;
  double CorrectionFactorY = 1.0;

  // Back to the values of a raster display of unknown resolution.
  void Init() { *this = TmekDeviceCapsInfo{}; }
};

using PmekDeviceCapsInfo = TmekDeviceCapsInfo*;

// Device technology codes.
inline constexpr int32_t DT_PLOTTER = 0;
inline constexpr int32_t DT_RASDISPLAY = 1;
inline constexpr int32_t DT_RASPRINTER = 2;
inline constexpr int32_t DT_METAFILE = 5;
// Raster capability bits.
inline constexpr int32_t RC_BITBLT = 0x0001;
inline constexpr int32_t RC_STRETCHBLT = 0x0800;
inline constexpr int32_t RC_STRETCHDIB = 0x2000;

}  // namespace vorn
