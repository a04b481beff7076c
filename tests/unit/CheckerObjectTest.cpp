// The checker object: its factory, its two names and the default marker.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <memory>

namespace spellcheck {
namespace {

std::unique_ptr<TSpellerCheck> NewChecker() {
  return std::unique_ptr<TSpellerCheck>(CreateSpellerCheck());
}

TEST(CheckerObject, NewCheckerHasTheDefaultNames) {
  auto checker = NewChecker();
  EXPECT_STREQ(checker->GetMainDic(), "main.dic");
  EXPECT_STREQ(checker->GetCustDic(), "cust.dic");
}

TEST(CheckerObject, SettersKeepTheHostsPointer) {
  auto checker = NewChecker();
  char main[] = "my-main.dic";
  char cust[] = "my-cust.dic";
  checker->SetMainDic(main);
  checker->SetCustDic(cust);
  EXPECT_EQ(checker->GetMainDic(), main);
  EXPECT_EQ(checker->GetCustDic(), cust);
  checker->SetMainDic(nullptr);
  EXPECT_EQ(checker->GetMainDic(), nullptr);
}

TEST(CheckerObject, CheckersAreIndependent) {
  auto first = NewChecker();
  auto second = NewChecker();
  first->SetMainDic("a.dic");
  EXPECT_STREQ(second->GetMainDic(), "main.dic");
  EXPECT_NE(first.get(), second.get());
}

TEST(DefaultMarker, IsThePointerValue32Only) {
  EXPECT_TRUE(IsDefaultMarker(DefaultDic));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(DefaultDic), 32u);
  EXPECT_FALSE(IsDefaultMarker(" "));
  EXPECT_FALSE(IsDefaultMarker(nullptr));
}

}  // namespace
}  // namespace spellcheck
