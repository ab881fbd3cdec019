#include "vorn/common/PicturePlacement_p.h"

#include "vorn/common/Rounding.h"
#include "vorn/common/Units.h"

namespace vorn {

TPoint TPicturePlacement::NaturalSize(int32_t Width, int32_t Height, double Zoom) {
  return TPoint{Round32(Width * Zoom / CoordsPixelsPerMMConvertValue),
                Round32(Height * Zoom / CoordsPixelsPerMMConvertValue)};
}

TPicturePlacement TPicturePlacement::Place(TKxDeShapePictureStyle Style, const TRect& R, const TPoint& Size,
                                           double Ratio, double CorrectionY) {
  const int32_t w = Size.X;
  const int32_t h = Size.Y;
  TPicturePlacement p;
  switch (Style) {
    case TKxDeShapePictureStyle::kxdspCenter: {
      const int32_t x = R.Left + Round32((R.Width() - w) / 2.0);
      const int32_t y = R.Top + Round32((R.Height() - h) / 2.0);
      p.Target = TRect{x, y, x + w, y + h};
      break;
    }
    case TKxDeShapePictureStyle::kxdspDefault: p.Target = TRect{R.Left, R.Top, R.Left + w, R.Top + h}; break;
    case TKxDeShapePictureStyle::kxdspTiled:
      if (w <= 0 || h <= 0) break;
      p.Target = TRect{R.Left, R.Top, R.Left + w, R.Top + h};
      p.Columns = (static_cast<int64_t>(R.Width()) + w - 1) / w;
      p.Rows = (static_cast<int64_t>(R.Height()) + h - 1) / h;
      break;
    case TKxDeShapePictureStyle::kxdspStretch: {
      TRect r = R;
      if (Ratio > 0) {
        const int32_t fitted = Round32(r.Width() / Ratio);
        if (r.Height() >= fitted) {
          const int32_t d = (r.Height() - fitted) / 2;
          r.Top += d;
          r.Bottom -= d;
        } else {
          const int32_t d = (r.Width() - Round32(r.Height() * Ratio)) / 2;
          r.Left += d;
          r.Right -= d;
        }
      }
      if (CorrectionY != 0) r.Bottom = r.Top + Round32(r.Height() / CorrectionY);
      p.Target = r;
      break;
    }
  }
  return p;
}

}  // namespace vorn
