// The object model: class references, virtual construction, lifetime brackets.
#include "support/TestSupport.h"

namespace vorn::testing {

std::vector<std::string> gLog;

// A small family with a virtual constructor taking one argument, as model families do.
class TAnimal : public TPersistent {
  VORN_OBJECT(TAnimal, TPersistent)
  Q_PROPERTY(int Legs READ Legs)

 public:
  using TConstructor = TAnimal* (*)(int);
  template <class T>
  static TAnimal* NewInstance(int Legs) {
    return Create<T>(Legs);
  }

  explicit TAnimal(int Legs) : FLegs(Legs) { gLog.push_back("construct " + std::to_string(Legs)); }
  int Legs() const { return FLegs; }
  void AfterConstruction() override { gLog.push_back("after " + ClassName().toStdString()); }
  void BeforeDestruction() override { gLog.push_back("before " + ClassName().toStdString()); }
  void Assign(const TPersistent* Source) override {
    if (auto* a = dynamic_cast<const TAnimal*>(Source)) {
      FLegs = a->FLegs;
      return;
    }
    TPersistent::Assign(Source);
  }

 protected:
  ~TAnimal() override { gLog.push_back("destroy"); }

 private:
  int FLegs;
};

class TBird : public TAnimal {
  VORN_OBJECT(TBird, TAnimal)

 public:
  explicit TBird(int Legs) : TAnimal(Legs) {}
  void AfterConstruction() override {
    TAnimal::AfterConstruction();
    if (Legs() < 0) throw Exception(QStringLiteral("no such bird"));
  }
};

class TStone : public TPersistent {
  VORN_OBJECT(TStone, TPersistent)
};

class ObjectModel : public ::testing::Test {
 protected:
  void SetUp() override { gLog.clear(); }
};

TEST_F(ObjectModel, ClassesKnowTheirNameTheirParentsAndTheirConstructor) {
  TOwned<TAnimal> bird(ClassOf<TBird>()->Construct<TAnimal>(2));
  ASSERT_TRUE(bird);
  EXPECT_EQ(bird->ClassName(), QStringLiteral("TBird")) << "without the namespace";
  EXPECT_EQ(bird->ClassType(), ClassOf<TBird>());
  EXPECT_EQ(bird->Legs(), 2);
  EXPECT_EQ(ClassOf<TObject>()->ClassParent(), nullptr);
  EXPECT_TRUE(bird->InheritsFrom(ClassOf<TAnimal>()));
  EXPECT_FALSE(bird->InheritsFrom(ClassOf<TStone>()));
  EXPECT_STREQ(bird->metaObject()->className(), "vorn::testing::TBird") << "the meta-object of the dynamic class";
  EXPECT_EQ(ClassOf<TStone>()->Construct<TAnimal>(1), nullptr) << "a class without a family constructor";
}

TEST_F(ObjectModel, CreateAndFreeBracketTheLifeAndAFailedStartDeletesWithoutTheEnd) {
  TAnimal* a = Create<TAnimal>(4);
  Free(a);
  Free(a);  // null by now: nothing
  EXPECT_EQ(gLog, (std::vector<std::string>{"construct 4", "after TAnimal", "before TAnimal", "destroy"}));
  gLog.clear();
  EXPECT_THROW(Create<TBird>(-1), Exception);
  EXPECT_EQ(gLog, (std::vector<std::string>{"construct -1", "after TBird", "destroy"}));
}

TEST_F(ObjectModel, AssignCopiesOrRaises) {
  TOwned<TAnimal> a(Create<TAnimal>(4));
  TOwned<TAnimal> b(Create<TBird>(2));
  a->Assign(b.get());
  EXPECT_EQ(a->Legs(), 2);
  TOwned<TStone> stone(Create<TStone>());
  EXPECT_THROW(a->Assign(stone.get()), Exception);
  EXPECT_THROW(a->Assign(nullptr), Exception);
  try {
    stone->Assign(a.get());
    FAIL() << "assigning an animal to a stone must raise";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TAnimal to a TStone"));
  }
}

// The compact event member: an empty handler leaves it unassigned, a copy calls its own handler,
// and in-out parameters come back to the caller.
TEST(SparseEvent, AssignsCopiesAndCallsLikeAFunction) {
  TSparseEvent<void(TObject*, float& x, float& y)> event;
  EXPECT_FALSE(event);
  event = std::function<void(TObject*, float&, float&)>();
  EXPECT_FALSE(event) << "an empty function is no handler";
  int calls = 0;
  event = [&calls](TObject*, float& x, float& y) {
    ++calls;
    x += 1;
    y = -y;
  };
  TSparseEvent<void(TObject*, float&, float&)> copy = event;
  event = nullptr;
  EXPECT_FALSE(event);
  ASSERT_TRUE(copy);
  float x = 1, y = 2;
  copy(nullptr, x, y);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, -2);
  EXPECT_TRUE(copy.Function());
}

}  // namespace vorn::testing

#include "ObjectModelTest.moc"
