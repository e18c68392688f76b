#pragma once

// Parties to save and the fixture of the settings-file tests: a scratch
// folder and a fixed save date.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/evening.h"
#include "model/group.h"
#include "model/party.h"
#include "scratch.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts::test {

inline SaveDate march5() {
    return SaveDate{2024, 3, 5};
}

struct GroupValues {
    std::u16string name;
    std::int32_t people = 1;
    std::int32_t ratio = 100;
    std::int32_t advance = 0;
};

inline std::unique_ptr<Party> makeParty(std::u16string_view name, std::int32_t total,
                                        std::int32_t unit, const std::vector<GroupValues>& groups) {
    auto party = Party::create(name);
    party->total = total;
    party->unit = unit;
    for (const auto& values : groups) {
        auto group = Group::create(values.name);
        group->people = values.people;
        group->ratio = values.ratio;
        group->advance = values.advance;
        party->addGroup(std::move(group));
    }
    return party;
}

// Everything the file keeps of a party, as one comparable text.
inline std::string describe(const Party& party) {
    std::string text =
        toUtf8(party.name()) + "|" + std::to_string(party.total) + "|" + std::to_string(party.unit);
    for (int i = 0; i < party.groupCount(); ++i) {
        const Group& g = *party.groupAt(i);
        text += "|" + toUtf8(g.name()) + ":" + std::to_string(g.people) + ":" +
                std::to_string(g.ratio) + ":" + std::to_string(g.advance);
    }
    return text;
}

// Everything the file keeps of an evening, as one comparable text.
inline std::string describe(const Evening& evening) {
    std::string text = std::to_string(evening.currentIndex());
    for (int r = 0; r < evening.roundCount(); ++r) {
        const Round& round = *evening.roundAt(r);
        text += " [" + toUtf8(round.title) + "/" +
                std::to_string(static_cast<int>(round.calculation)) + "/" + describe(*round.party) +
                "]";
    }
    if (evening.organiser) {
        text += " organiser " + toUtf8(evening.organiser->group) + ":" +
                std::to_string(evening.organiser->member);
    }
    text += " payee " + toUtf8(evening.payee);
    for (const auto& [key, mark] : evening.marks) {
        text += " mark " + toUtf8(key.group) + ":" + std::to_string(key.member) + ":" +
                std::to_string(mark.amount) + ":" + std::to_string(mark.figure);
    }
    return text;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        setSaveDateSource(&march5);
    }
    void TearDown() override { setSaveDateSource(nullptr); }

    std::u16string path() const { return dir.wide("ts.cfg"); }
    std::string bytes() const { return readBytes(dir.file("ts.cfg")); }

    // Loads `content` into a new party named FIRST.
    std::string loadBytes(const std::string& content) {
        writeBytes(dir.file("in.cfg"), content);
        auto party = Party::create(u"FIRST");
        EXPECT_TRUE(loadFromPath(dir.wide("in.cfg"), *party));
        return describe(*party);
    }

    std::unique_ptr<Party> roundTrip(const Party& saved) {
        auto loaded = Party::create(u"FIRST");
        EXPECT_TRUE(saveToPath(path(), const_cast<Party&>(saved)));
        EXPECT_TRUE(loadFromPath(path(), *loaded));
        return loaded;
    }

    Scratch dir;
};

}  // namespace ts::test
