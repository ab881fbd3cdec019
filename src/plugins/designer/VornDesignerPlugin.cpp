// The engine's widgets in Qt Designer's widget box, group "Vorn Drawing Engine". Each widget's
// published properties show in Designer's property editor; forms that use them load at run time
// through QUiLoader once this plugin's directory is on the loader's plugin path.
#include <vorn/editor/KxDeEditor.h>
#include <vorn/extras/vornArrowShape.h>
#include <vorn/inspector/mekInspector.h>
#include <vorn/layermanager/KxDeLayerManager.h>
#include <vorn/surface/KxDeViewer.h>

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

// Draws a widget's box icon: a page with Glyph painted on it.
QIcon PageIcon(const std::function<void(QPainter&)>& Glyph) {
  QPixmap pixmap(22, 22);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x44, 0x55, 0x66), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(2.5, 2.5, 17, 17));
  Glyph(p);
  return QIcon(pixmap);
}

// One widget class of the engine as Designer sees it.
class TWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  using TFactory = std::function<QWidget*(QWidget*)>;
  TWidgetPlugin(QString ClassName, QString Header, QString ToolTip, QSize Size, QIcon Icon, TFactory Factory,
                QObject* Parent)
      : QObject(Parent),
        FClassName(std::move(ClassName)),
        FHeader(std::move(Header)),
        FToolTip(std::move(ToolTip)),
        FSize(Size),
        FIcon(std::move(Icon)),
        FFactory(std::move(Factory)) {}

  QString name() const override { return FClassName; }
  QString group() const override { return QStringLiteral("Vorn Drawing Engine"); }
  QString toolTip() const override { return FToolTip; }
  QString whatsThis() const override { return FToolTip; }
  QString includeFile() const override { return FHeader; }
  QIcon icon() const override { return FIcon; }
  bool isContainer() const override { return false; }
  QWidget* createWidget(QWidget* Parent) override { return FFactory(Parent); }
  bool isInitialized() const override { return FInitialized; }
  void initialize(QDesignerFormEditorInterface*) override { FInitialized = true; }
  QString domXml() const override {
    QString object = FClassName.mid(FClassName.lastIndexOf(QLatin1Char(':')) + 1);
    if (object.startsWith(QLatin1Char('T'))) object.remove(0, 1);
    object[0] = object[0].toLower();
    return QStringLiteral(
               "<ui language=\"c++\"><widget class=\"%1\" name=\"%2\"><property name=\"geometry\"><rect>"
               "<x>0</x><y>0</y><width>%3</width><height>%4</height></rect></property></widget></ui>")
        .arg(FClassName, object)
        .arg(FSize.width())
        .arg(FSize.height());
  }

 private:
  QString FClassName, FHeader, FToolTip;
  QSize FSize;
  QIcon FIcon;
  TFactory FFactory;
  bool FInitialized = false;
};

}  // namespace

// The collection Designer and QUiLoader load.
class VornDesignerPlugin : public QObject, public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

 public:
  explicit VornDesignerPlugin(QObject* Parent = nullptr) : QObject(Parent) {
    const QColor ink(0x1f, 0x5f, 0xbf);
    FWidgets << new TWidgetPlugin(
        QStringLiteral("vorn::TKxDeEditor"), QStringLiteral("vorn/editor/KxDeEditor.h"),
        QStringLiteral("A drawing surface the user edits: select, move, size and create shapes"), QSize(400, 300),
        PageIcon([&](QPainter& p) {
          p.setPen(QPen(ink, 1.5));
          p.setBrush(Qt::NoBrush);
          p.drawRect(QRectF(6, 6, 10, 8));
          p.setBrush(ink);
          for (QPointF c : {QPointF(6, 6), QPointF(16, 6), QPointF(6, 14), QPointF(16, 14)})
            p.drawRect(QRectF(c.x() - 1.5, c.y() - 1.5, 3, 3));
        }),
        [](QWidget* Parent) { return new vorn::TKxDeEditor(Parent); }, this);
    FWidgets << new TWidgetPlugin(
        QStringLiteral("vorn::TKxDeViewer"), QStringLiteral("vorn/surface/KxDeViewer.h"),
        QStringLiteral("A read-only view of a drawing that tells which shape the pointer is on"), QSize(400, 300),
        PageIcon([&](QPainter& p) {
          p.setPen(QPen(ink, 1.5));
          p.setBrush(Qt::NoBrush);
          p.drawEllipse(QPointF(11, 11), 6, 3.5);
          p.setBrush(ink);
          p.drawEllipse(QPointF(11, 11), 1.8, 1.8);
        }),
        [](QWidget* Parent) { return new vorn::TKxDeViewer(Parent); }, this);
    FWidgets << new TWidgetPlugin(
        QStringLiteral("vorn::TKxDeLayerManager"), QStringLiteral("vorn/layermanager/KxDeLayerManager.h"),
        QStringLiteral("The layers and shapes of an editor: visibility, lock, previews and renaming"), QSize(220, 300),
        PageIcon([&](QPainter& p) {
          p.setPen(QPen(ink, 1.2));
          for (qreal y : {6.0, 10.0, 14.0}) {
            p.setBrush(y == 6.0 ? ink : QColor(Qt::white));
            p.drawRect(QRectF(5.5, y - 1.5, 3, 3));
            p.drawLine(QPointF(10, y), QPointF(17, y));
          }
        }),
        [](QWidget* Parent) { return new vorn::TKxDeLayerManager(Parent); }, this);
    FWidgets << new TWidgetPlugin(
        QStringLiteral("vorn::TmekInspector"), QStringLiteral("vorn/inspector/mekInspector.h"),
        QStringLiteral("A tree of an object's published properties, edited in place"), QSize(250, 300),
        PageIcon([&](QPainter& p) {
          p.setPen(QPen(ink, 1.5));
          for (qreal y : {7.0, 11.0, 15.0}) {
            p.drawLine(QPointF(6, y), QPointF(9, y));
            p.drawLine(QPointF(11, y), QPointF(16, y));
          }
        }),
        [](QWidget* Parent) { return new vorn::TmekInspector(Parent); }, this);
    FWidgets << new TWidgetPlugin(
        QStringLiteral("vorn::TvornArrowShape"), QStringLiteral("vorn/extras/vornArrowShape.h"),
        QStringLiteral("An arrow drawn in its own window: length, width, angle and heads"), QSize(120, 40),
        PageIcon([&](QPainter& p) {
          p.setPen(QPen(ink, 1.5));
          p.drawLine(QPointF(5, 11), QPointF(15, 11));
          p.setBrush(ink);
          QPainterPath head;
          head.moveTo(17, 11);
          head.lineTo(13, 8);
          head.lineTo(13, 14);
          head.closeSubpath();
          p.drawPath(head);
        }),
        [](QWidget* Parent) { return new vorn::TvornArrowShape(Parent); }, this);
  }

  QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return FWidgets; }

 private:
  QList<QDesignerCustomWidgetInterface*> FWidgets;
};

#include "VornDesignerPlugin.moc"
