#include "MergeTemplate.h"

#include <vorn/model/KxDeContainer.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornBarcode.h>

namespace vorncli {
namespace {

void CollectFields(const vorn::TKxDeContainer* Container, std::vector<vorn::TKxDeShapeBase*>& Shapes) {
  for (int32_t i = 0; i < Container->ItemCount(); ++i) {
    vorn::TKxDeShapeBase* s = Container->Items(i);
    if (s->Text().contains(QLatin1String("${"))) Shapes.push_back(s);
    if (auto* c = dynamic_cast<const vorn::TKxDeContainer*>(s)) CollectFields(c, Shapes);
  }
}

}  // namespace

TMergeTemplate::TMergeTemplate(const vorn::TKxDeLayerList& Layers) {
  std::vector<vorn::TKxDeShapeBase*> shapes;
  for (const vorn::TKxDeLayer* layer : Layers)
    if (layer) CollectFields(layer, shapes);
  for (vorn::TKxDeShapeBase* s : shapes) {
    TMergeText text(s->Text().toStdString());
    if (text.HasFields()) FFields.push_back({s, std::move(text)});
  }
}

QString TMergeTemplate::Bind(const std::vector<std::string>& Header) {
  FColumns = Header.size();
  QStringList missing;
  for (TField& f : FFields)
    for (const std::string& name : f.Text.Bind(Header)) {
      const QString placeholder = QStringLiteral("${%1}").arg(QString::fromStdString(name));
      if (!missing.contains(placeholder)) missing << placeholder;
    }
  if (missing.isEmpty()) return {};
  return QStringLiteral("no column for %1 (the columns are: %2)")
      .arg(missing.join(QStringLiteral(", ")), QString::fromStdString([&] {
             std::string all;
             for (const std::string& h : Header) all += (all.empty() ? "" : ", ") + h;
             return all;
           }()));
}

QString TMergeTemplate::Fill(const TCsvRecord& Row) {
  if (!Row.Utf8) return QStringLiteral("not UTF-8 text");
  if (Row.Fields.size() != FColumns)
    return QStringLiteral("%1 fields where the header has %2").arg(Row.Fields.size()).arg(FColumns);
  for (TField& f : FFields) {
    f.Shape->SetText(QString::fromStdString(f.Text.Fill(Row.Fields)));
    // Data a barcode cannot encode would print a crossed-out box: the row fails instead.
    if (auto* barcode = dynamic_cast<vorn::TVornBarcode*>(f.Shape); barcode && !barcode->Symbol().Valid()) {
      const QString name =
          barcode->Name().isEmpty() ? QStringLiteral("barcode") : QStringLiteral("barcode \"%1\"").arg(barcode->Name());
      return QStringLiteral("%1 cannot encode \"%2\": %3").arg(name, barcode->Text(), barcode->Symbol().Error());
    }
  }
  return {};
}

}  // namespace vorncli
