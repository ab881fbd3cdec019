#pragma once
// TKxDeGuides: the editor's ordered list of guides. The list owns its guides: Remove, Delete and
// Clear free them. Every change of the list or of a guide in it raises OnChange once; inside
// BeginUpdate/EndUpdate the changes are gathered into one OnChange when the outermost bracket
// closes.
//
// XML: SaveToXML appends one "o" element per guide (attribute "Class", then the guide's own
// content); LoadFromXML replaces the list with the guides read from the "o" children, skipping
// those that cannot be read. A document file keeps the same list as plain records
// (TKxDeDocumentGuide), which SaveToDocument and LoadFromDocument exchange.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"
#include "vorn/common/XmlUtils.h"
#include "vorn/model/KxDeDocument.h"

#include <cstdint>
#include <vector>

namespace vorn {

class TKxDeGuide;
struct TKxDeXmlReadReport;

class TKxDeGuides : public TPersistent {
  VORN_OBJECT(TKxDeGuides, TPersistent)

 public:
  TKxDeGuides() = default;

  // A new horizontal guide at 0, appended.
  TKxDeGuide* Add();
  // Appends Guide and takes it over (from another list, which loses it); a guide already here
  // stays where it is. Returns its index.
  int32_t Add(TKxDeGuide* Guide);
  // Inserts Guide at Index (clamped to 0..Count) and takes it over.
  void Insert(int32_t Index, TKxDeGuide* Guide);
  // Frees Guide when it is in the list; returns its former index or -1.
  int32_t Remove(TKxDeGuide* Guide);
  // Frees the guide at Index; other indexes do nothing.
  void Delete(int32_t Index);
  void Clear();
  int32_t IndexOf(const TKxDeGuide* Guide) const;
  // None outside 0..Count - 1.
  TKxDeGuide* GetItem(int32_t Index) const;
  TKxDeGuide* Items(int32_t Index) const { return GetItem(Index); }
  int32_t GetCount() const { return static_cast<int32_t>(FItems.size()); }
  int32_t Count() const { return GetCount(); }
  // Replaces the list with copies of Source's guides.
  void Assign(const TPersistent* Source) override;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  void SaveToXML(TXmlNode Node) const;
  // Replaces the list; each skipped guide is noted in Report when one is given.
  void LoadFromXML(TXmlNode Node, TKxDeXmlReadReport* Report = nullptr);
  // The guides as a document file keeps them, and back.
  std::vector<TKxDeDocumentGuide> SaveToDocument() const;
  void LoadFromDocument(const std::vector<TKxDeDocumentGuide>& Guides);

  TNotifyEvent OnChange;

 protected:
  ~TKxDeGuides() override;
  void Changed();

 private:
  friend class TKxDeGuide;
  void GuideChanged(TKxDeGuide*) { Changed(); }
  // Detaches Guide from the list that holds it, if any.
  static void Detach(TKxDeGuide* Guide);
  // Frees every guide without announcing anything.
  void FreeAll();

  std::vector<TKxDeGuide*> FItems;
  int32_t FUpdateCount = 0;
  bool FPending = false;
};

}  // namespace vorn
