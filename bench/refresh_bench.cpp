// Refreshing the main window's list with the real Qt widgets: every row is
// deleted and rebuilt from the party, as after each command.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <QApplication>

#include "app/app_state.h"
#include "app/main_window.h"
#include "model/party.h"
#include "platform/qt/qt_window_system.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace {

std::u16string writeParty(int groups) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("ts-refresh-bench-" + std::to_string(groups) + ".cfg");
    ts::Party party(u"bench");
    party.total = 1'000'000;
    for (int i = 0; i < groups; ++i) {
        auto group = ts::Group::create(u"グループ" + ts::decimalText(i));
        group->people = 1 + i % 7;
        group->ratio = 10 * (i % 11);
        group->advance = (i % 5) * 1000;
        party.addGroup(std::move(group));
    }
    party.calculate(true);
    ts::saveToPath(ts::fromUtf8(path.string()), party);
    return ts::fromUtf8(path.string());
}

void BM_RefreshWindow(benchmark::State& state) {
    ts::app::AppState appState;
    const std::u16string path = writeParty(static_cast<int>(state.range(0)));
    appState.store = std::make_unique<ts::FileStore>(path);
    ts::app::MainWindow mainWindow(appState);
    ts::platform::Dialog* window = nullptr;

    ts::platform::QtWindowSystem windows;
    windows.setDialogObserver([&](QDialog*, int) {
        mainWindow.handle(*window,
                          {ts::platform::Message::Kind::Command, ts::id::main::kCalculatePlain});
        for (auto _ : state) {
            mainWindow.refreshWindow(*window);
            QApplication::processEvents();  // let the list lay out and paint
        }
        mainWindow.handle(*window, {ts::platform::Message::Kind::Command, ts::id::kCancel});
    });
    windows.runModal(ts::res::kMainDialog,
                     [&](ts::platform::Dialog& dialog, const ts::platform::Message& message) {
                         window = &dialog;
                         mainWindow.handle(dialog, message);
                     });
    std::filesystem::remove(std::filesystem::path(ts::toUtf8(path)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_RefreshWindow)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
