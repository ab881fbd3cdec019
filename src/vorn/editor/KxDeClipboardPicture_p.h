#pragma once
// TKxDeClipboardPicture: the editor's pictures on the clipboard. A copy offers the copied shapes
// to other programs as an SVG drawing and a PNG image, both drawn from the copy's own payload when
// a program asks for them (the shapes may be gone by then: a cut deletes them). A picture another
// program copied becomes the content of a picture shape, at the size it was meant to have.

#include <QByteArray>
#include <QSizeF>
#include <QString>

namespace vorn {

class TGraphic;
class TmekClipboard;

class TKxDeClipboardPicture {
 public:
  TKxDeClipboardPicture() = delete;

  // The shapes of a copy's payload (the XML document of the objects format) drawn as they look at
  // zoom 100, cropped to what they draw, on a transparent background: an SVG drawing of 96 units
  // per inch, or a PNG image of Zoom pixels per world unit (its resolution recorded; very large
  // images are drawn smaller). Empty when the payload holds nothing that can be drawn.
  static QByteArray Svg(const QByteArray& Payload);
  static QByteArray Png(const QByteArray& Payload, double Zoom);

  // The picture the clipboard holds: an SVG drawing first, then a PNG image, then any image Qt
  // reads (as PNG). Extension names the kind ("svg", "png"); false when there is none.
  static bool Read(const TmekClipboard* Clipboard, QByteArray& Bytes, QString& Extension);

  // A graphic's size in world units as its maker meant it: an SVG drawing's width and height in
  // their units (its view box, or the renderer's size, without them), a raster image's pixels at
  // its recorded resolution. Empty for an empty graphic.
  static QSizeF NaturalSize(const TGraphic* Graphic);
};

}  // namespace vorn
