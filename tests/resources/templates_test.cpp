#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/tables.h"

namespace ts::res {
namespace {

const ControlTemplate* control(const DialogTemplate& t, int id) {
    for (const auto& c : t.controls) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

TEST(TemplatesTest, EveryControlHasAUniqueIdAndLiesInsideItsDialog) {
    for (int templateId : {kMainDialog, kGroupDialog, kTotalDialog}) {
        const DialogTemplate* t = findDialogTemplate(templateId);
        ASSERT_NE(t, nullptr) << templateId;
        std::set<int> ids;
        for (const auto& c : t->controls) {
            if (c.id != kNoId) {
                EXPECT_TRUE(ids.insert(c.id).second) << templateId << ": id " << c.id;
            }
            EXPECT_GE(c.x, 0);
            EXPECT_GE(c.y, 0);
            // A combo box's height includes its dropped list.
            if (c.kind != ControlKind::ComboBox) {
                EXPECT_LE(c.x + c.width, t->width) << templateId << ": id " << c.id;
                EXPECT_LE(c.y + c.height, t->height) << templateId << ": id " << c.id;
            }
        }
    }
    EXPECT_EQ(findDialogTemplate(102), nullptr);
}

TEST(TemplatesTest, ProceduresFindTheControlsTheyAddress) {
    struct Row {
        int templateId, controlId;
        ControlKind kind;
    };
    for (const Row& r : {
             Row{kMainDialog, id::main::kGroupList, ControlKind::ListView},
             Row{kMainDialog, id::main::kAboutIcon, ControlKind::Icon},
             Row{kMainDialog, id::main::kViewToggle, ControlKind::PushButton},
             Row{kMainDialog, id::main::kTotalText, ControlKind::Static},
             Row{kMainDialog, id::main::kUnitText, ControlKind::Static},
             Row{kMainDialog, id::main::kRemainderText, ControlKind::Static},
             Row{kMainDialog, id::main::kPeopleText, ControlKind::Static},
             Row{kGroupDialog, id::group::kNameField, ControlKind::Edit},
             Row{kGroupDialog, id::group::kPeopleField, ControlKind::Edit},
             Row{kGroupDialog, id::group::kRatioField, ControlKind::Edit},
             Row{kGroupDialog, id::group::kAdvanceField, ControlKind::Edit},
             Row{kGroupDialog, id::group::kAddendField, ControlKind::Edit},
             Row{kGroupDialog, id::group::kPeopleArrows, ControlKind::UpDown},
             Row{kGroupDialog, id::group::kRatioArrows, ControlKind::UpDown},
             Row{kGroupDialog, id::group::kAddAddend, ControlKind::PushButton},
             Row{kTotalDialog, id::total::kTotalField, ControlKind::Edit},
             Row{kTotalDialog, id::total::kUnitCombo, ControlKind::ComboBox},
             Row{kTotalDialog, id::total::kTakeAdvances, ControlKind::PushButton},
         }) {
        const ControlTemplate* c = control(*findDialogTemplate(r.templateId), r.controlId);
        ASSERT_NE(c, nullptr) << r.templateId << ": id " << r.controlId;
        EXPECT_EQ(c->kind, r.kind) << r.templateId << ": id " << r.controlId;
    }
}

TEST(TablesTest, ColumnsTonesAndUnits) {
    // The simple view hides the ratio and the advance only.
    std::vector<GroupField> detailOnly;
    for (const auto& column : kColumns) {
        EXPECT_GT(column.width, 0);
        if (column.detailOnly) {
            detailOnly.push_back(column.field);
        }
    }
    EXPECT_EQ(detailOnly, (std::vector{GroupField::Ratio, GroupField::Advance}));
    EXPECT_EQ(kColumns[0].field, GroupField::Name) << "the first column's cells make the rows";
    // One row per tone in its order, each with a name of its own that a
    // style sheet can take as it is.
    for (std::size_t i = 0; i < kTones.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kTones[i].tone), i);
        EXPECT_EQ(kTones[i].id.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"),
                  std::string_view::npos)
            << kTones[i].id;
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_NE(kTones[i].id, kTones[j].id);
        }
    }
    for (std::size_t i = 1; i < kUnitChoices.size(); ++i) {
        EXPECT_EQ(kUnitChoices[i], std::u16string(kUnitChoices[i - 1]) + u"0");
    }
}

}  // namespace
}  // namespace ts::res
