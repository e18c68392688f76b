#include "resources/tables.h"

#include "resources/ids.h"
#include "resources/texts.h"

namespace ts::res {

// The first title is written in half-width katakana.
const std::array<ColumnSpec, 6> kColumns{{
    {GroupField::Name, u"ｸﾞﾙｰﾌﾟ名", 70, false},
    {GroupField::People, u"人数", 40, false},
    {GroupField::Ratio, u"割合", 50, true},
    {GroupField::Advance, u"負担額", 80, true},
    {GroupField::Share, u"支払額", 80, false},
    {GroupField::Balance, u"差引額", 80, false},
}};

// White on a selected row's colour reads on every tone.
const std::array<ToneSpec, 5> kTones{{
    {Tone::None, "none", {}, {}, {}},
    {Tone::Pay, "pay", {}, "#a8201a", "#ff9c94"},
    {Tone::Refund, "refund", {}, "#17642f", "#86d99b"},
    {Tone::Settled, "settled", text::kNothingToSettle, {}, {}},
    {Tone::NotCalculated, "not-calculated", text::kNotCalculated, {}, {}},
}};

// 済 on a card marks the next member of its class who has not settled.
const std::array<PlanColumnSpec, 5> kPlanColumns{{
    {u"区分", 150, "class", 0},
    {u"1人あたり", 90, "figure", 0},
    {u"済", 50, "settled", id::settle::kMarkPaid},
    {u"残り", 90, "left", 0},
    {u"内訳", 240, "parts", 0},
}};

const std::array<std::u16string_view, 5> kUnitChoices{u"1", u"10", u"100", u"1000", u"10000"};

}  // namespace ts::res
