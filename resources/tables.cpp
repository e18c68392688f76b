#include "resources/tables.h"

namespace ts::res {

// The first title is written in half-width katakana.
const std::array<ColumnSpec, 6> kColumns{{
    {u"ｸﾞﾙｰﾌﾟ名", 70, true},
    {u"人数", 40, true},
    {u"割合", 50, true},
    {u"負担額", 80, true},
    {u"支払額", 80, true},
    {u"差引額", 80, true},
}};

const std::array<std::u16string_view, 5> kUnitChoices{u"1", u"10", u"100", u"1000", u"10000"};

}  // namespace ts::res
