#include <benchmark/benchmark.h>

#include "model/party.h"

namespace {

// A party of `count` groups with varied sizes, ratios and advances.
std::unique_ptr<ts::Party> makeParty(int count) {
    auto party = ts::Party::create(u"bench");
    party->total = 1'000'000;
    party->unit = 100;
    for (int i = 0; i < count; ++i) {
        auto group = ts::Group::create(u"group");
        group->people = 1 + i % 7;
        group->ratio = 10 * (i % 11);
        group->advance = (i % 5) * 1000;
        party->addGroup(std::move(group));
    }
    return party;
}

void BM_Calculate(benchmark::State& state, bool rounded) {
    auto party = makeParty(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        party->calculate(rounded);
        benchmark::DoNotOptimize(party->remainder);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK_CAPTURE(BM_Calculate, plain, false)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK_CAPTURE(BM_Calculate, rounded, true)->Arg(10)->Arg(1000)->Arg(100000);
