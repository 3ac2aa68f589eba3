// The control's scheme: its changes re-colour the document; a removed scheme falls back.
#include "editor/fountain_binding.h"

#include <gtest/gtest.h>

#include <memory>

#include "editor/editor_control.h"
#include "editor/editor_row_states.h"

namespace tessary {
namespace {

TEST(FountainBinding, SchemeChangesRecolourTheDocument) {
  EditorControl c;
  FountainBinding binding(c);
  c.Lines().SetTextStr("(a\r\nb)\r\nc");
  EXPECT_EQ(RowStartState(c.Document(), 1).BracketIndex, kNoBracket);
  ASSERT_TRUE(binding.View().Brackets().Add("(", ")").ok());
  EXPECT_EQ(c.Document().GetBracketIndex(1), 0);  // recomputed at once, not when drawn
  EXPECT_EQ(c.Document().GetBracketIndex(2), kNoBracket);

  // Another scheme in use; when it goes away the view's own scheme comes back.
  auto other = std::make_unique<TEditorFountain>();
  binding.SetFountain(other.get());
  EXPECT_EQ(c.Document().GetBracketIndex(1), kNoBracket);
  ASSERT_TRUE(other->Brackets().Add("b", "c").ok());
  EXPECT_EQ(c.Document().GetBracketIndex(2), 0);
  other.reset();
  EXPECT_EQ(&binding.Fountain(), &binding.View());
  EXPECT_EQ(c.Document().GetBracketIndex(1), 0);
}

// Two controls share a document: the binding that goes first leaves the other's colouring.
TEST(FountainBinding, LeavingASharedDocumentKeepsTheOtherViewsScheme) {
  EditorControl a;
  EditorControl b(a.SharedDocument());
  auto first = std::make_unique<FountainBinding>(a);
  FountainBinding second(b);
  ASSERT_TRUE(second.View().Brackets().Add("(", ")").ok());
  a.Lines().SetTextStr("(x\r\ny)\r\n");
  first.reset();
  a.Document().InitRowStates();
  EXPECT_EQ(a.Document().GetBracketIndex(1), 0);
}

TEST(FountainBinding, ReserveWordListOfTheControl) {
  EditorControl c;
  FountainBinding binding(c);
  binding.SetReserveWordList({"begin"});
  EXPECT_TRUE(binding.View().ReserveWordList().Contains("BEGIN"));
}

}  // namespace
}  // namespace tessary
