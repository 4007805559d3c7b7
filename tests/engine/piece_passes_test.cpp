#include "engine/piece_passes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/conversion_passes.h"
#include "tests/engine/settings_for.h"

namespace yentax {
namespace {

// A page cut in two at cut, each half with up to margin units of the other beside it.
struct TwoPieces {
  std::u16string page;
  std::size_t cut = 0;
  std::size_t margin = 0;

  PagePiece left() const {
    return {std::u16string_view(page).substr(0, std::min(page.size(), cut + margin)), 0, cut, true,
            false};
  }
  PagePiece right() const {
    const std::size_t from = cut - std::min(cut, margin);
    return {std::u16string_view(page).substr(from), cut - from, page.size() - from, false, true};
  }
};

TEST(PiecePassesTest, NeighboursAgreeOnlyWhereNeitherReachesTheOthersChanges) {
  const ConversionSettings settings = exampleSettings();
  const struct {
    const char* name;
    std::u16string left;
    std::u16string right;
    bool agree;
  } cases[] = {
      {"amounts apart", u"<p>1,000円</p><p>送料は別途かかります。ご了承ください。</p>",
       u"<p>2,000円</p>", true},
      // The second amount's checks read back across the cut into the first one's change.
      {"a change next to a neighbour's amount",
       u"<p>送料は別途かかります。ご了承ください。</p><p>1,000円", u"</p>2,000円</p>", false},
      {"a walk that ends inside a comment", u"<p>1,000円</p><!-- ", u"<p>2円</p> --><p>3円</p>",
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TwoPieces two{c.left + c.right, c.left.size(), 64};
    ConversionContext context;
    const auto passes = PiecePasses::plan(settings, context, two.left().text);
    ASSERT_TRUE(passes);
    const PieceOutcome left = passes->convert(two.left());
    const PieceOutcome right = passes->convert(two.right());
    ASSERT_FALSE(left.failed || right.failed);
    EXPECT_EQ(piecesAgree(left, right), c.agree);
    if (!c.agree) continue;
    const auto whole = runConversionPasses(settings, context, two.page);
    ASSERT_TRUE(whole);
    const std::u16string leftBody = left.changed ? left.body : c.left;
    const std::u16string rightBody = right.changed ? right.body : c.right;
    EXPECT_EQ(leftBody + rightBody, *whole);
  }
}

}  // namespace
}  // namespace yentax
