#pragma once
// The document of the surface and editor benchmarks: 100,000 rectangles and ellipses of random
// sizes at random places in a square world, a quarter of it covered, the same in every run.

#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapePen.h>
#include <vorn/shapes/VornShapes.h>

#include <QBrush>
#include <QColor>
#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPen>

#include <random>
#include <vector>

namespace vornbench {

constexpr int kShapes = 100000;
constexpr float kWorld = 20000;  // the side of the square

struct TFigure {
  float X, Y, W, H;
  bool Ellipse;
};

inline const std::vector<TFigure>& Figures() {
  static const std::vector<TFigure> figures = [] {
    std::mt19937 random(100000);
    std::uniform_real_distribution<float> size(10, 60), place(0, kWorld - 60);
    std::vector<TFigure> f(kShapes);
    for (int i = 0; i < kShapes; ++i)
      f[static_cast<size_t>(i)] = {place(random), place(random), size(random), size(random), i % 2 == 1};
    return f;
  }();
  return figures;
}

// The figures as the kit's rectangles and ellipses in Layer, keeping the styles given to them as
// when a document is read.
inline void AddFigures(vorn::TKxDeLayer* Layer) {
  using namespace vorn;
  Layer->SkipDefaultProperty();
  for (const TFigure& f : Figures()) {
    TVornShape* s = f.Ellipse ? static_cast<TVornShape*>(Create<TVornEllipse>(nullptr, nullptr))
                              : static_cast<TVornShape*>(Create<TVornRectangle>(nullptr, nullptr));
    s->SetBounds(f.X, f.Y, f.W, f.H);
    s->Brush()->SetColor(f.Ellipse ? 0x00A0FF : 0xFF8000);
    s->Pen()->SetWidth(0.2f);
    Layer->InsertShape(s);
  }
  Layer->UnskipDefaultProperty();
}

// The same figures as items of a graphics scene, coloured as the engine's shapes are.
inline void AddFigures(QGraphicsScene& Scene, std::vector<QGraphicsItem*>& Items) {
  Items.reserve(Items.size() + Figures().size());
  for (const TFigure& f : Figures()) {
    QAbstractGraphicsShapeItem* item =
        f.Ellipse ? static_cast<QAbstractGraphicsShapeItem*>(new QGraphicsEllipseItem(0, 0, f.W, f.H))
                  : static_cast<QAbstractGraphicsShapeItem*>(new QGraphicsRectItem(0, 0, f.W, f.H));
    item->setPos(f.X, f.Y);
    item->setBrush(QColor(f.Ellipse ? 0xFFA000 : 0x0080FF));
    item->setPen(QPen(Qt::black, 0.2 * 96 / 25.4));
    Scene.addItem(item);
    Items.push_back(item);
  }
}

}  // namespace vornbench
