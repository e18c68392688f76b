// Save and load of settings files with many groups, and of a whole evening
// of 20 rounds of 20 groups with its marks.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "model/evening.h"
#include "model/group.h"
#include "model/party.h"
#include "storage/evening_file.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace {

ts::SaveDate fixedDate() {
    return ts::SaveDate{2024, 3, 5};
}

// A scratch folder for the benchmark files, removed at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/ts-bench-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        if (!path_.empty()) {
            std::remove((path_ + "/ts.cfg").c_str());
            rmdir(path_.c_str());
        }
    }
    std::u16string file() const { return ts::fromUtf8(path_ + "/ts.cfg"); }

private:
    std::string path_;
};

ScratchFolder& scratch() {
    static ScratchFolder folder;
    return folder;
}

std::unique_ptr<ts::Party> makeParty(int groups) {
    auto party = ts::Party::create(u"FIRST");
    party->total = 1234567;
    party->unit = 100;
    for (int i = 0; i < groups; ++i) {
        auto group = ts::Group::create(u"グループ" + ts::decimalText(i));
        group->people = 1 + i % 7;
        group->ratio = 50 + i % 51;
        group->advance = 1000 * (i % 13);
        party->addGroup(std::move(group));
    }
    return party;
}

void BM_Save(benchmark::State& state) {
    ts::setSaveDateSource(&fixedDate);
    auto party = makeParty(static_cast<int>(state.range(0)));
    const std::u16string path = scratch().file();
    for (auto _ : state) {
        if (!ts::saveToPath(path, *party)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Load(benchmark::State& state) {
    ts::setSaveDateSource(&fixedDate);
    const std::u16string path = scratch().file();
    if (!ts::saveToPath(path, *makeParty(static_cast<int>(state.range(0))))) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        auto party = ts::Party::create(u"FIRST");
        if (!ts::loadFromPath(path, *party) || party->groupCount() != state.range(0)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(party.get());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// kMaxRounds rounds of 20 groups, fewer people each round, an organiser,
// 支払先 and a mark for every member of the first round.
ts::Evening makeEvening() {
    ts::Evening evening(makeParty(20));
    while (evening.addRound()) {
        for (int i = 0; i < evening.party().groupCount(); ++i) {
            ts::Group& group = *evening.party().groupAt(i);
            group.people = group.people > 1 ? group.people - 1 : 1;
            group.advance = 500 * (i % 3);
        }
        evening.party().total = 100000 + 1000 * evening.currentIndex();
        evening.current().calculation = ts::Calculation::Rounded;
    }
    evening.organiser = ts::MemberKey{u"グループ0", 1};
    evening.payee = u"PayPay ID: tally-share-organiser";
    const ts::Party& first = *evening.roundAt(0)->party;
    for (int i = 0; i < first.groupCount(); ++i) {
        for (std::int32_t j = 1; j <= first.groupAt(i)->people; ++j) {
            evening.marks[ts::MemberKey{first.groupAt(i)->name(), j}] = ts::Mark{1000 * j, -5000};
        }
    }
    return evening;
}

void BM_SaveEvening(benchmark::State& state) {
    ts::setSaveDateSource(&fixedDate);
    const ts::Evening evening = makeEvening();
    const std::u16string path = scratch().file();
    for (auto _ : state) {
        if (!ts::saveToPath(path, evening)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * evening.roundCount());
}

void BM_LoadEvening(benchmark::State& state) {
    ts::setSaveDateSource(&fixedDate);
    const std::u16string path = scratch().file();
    if (!ts::saveToPath(path, makeEvening())) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        ts::Evening evening = ts::Evening::create();
        if (!ts::loadFromPath(path, evening) || evening.roundCount() != ts::Evening::kMaxRounds) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(evening.roundCount());
    }
    state.SetItemsProcessed(state.iterations() * ts::Evening::kMaxRounds);
}

}  // namespace

BENCHMARK(BM_SaveEvening)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadEvening)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
