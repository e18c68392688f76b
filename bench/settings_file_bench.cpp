// Save and load of settings files with many groups.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "model/group.h"
#include "model/party.h"
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

}  // namespace

BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
