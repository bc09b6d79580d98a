// The main dialog's add of 256 chromatograms, with the picker answered by the fake host, on the
// system's desktop (Qt's offscreen platform on Linux, the real controls on Windows): the lookups and
// reads, the list's rows, RunCalculation and both pages, against AddChromatogram × 256 on the same
// data, which is the work the dialog cannot avoid.
#include "HostData.h"
#include "Ratio.h"

#include "components/ComponentTable.h"
#include "host/DataBaseConnectionBase.h"
#include "host/PluginState.h"
#include "host/SettingsRecord.h"
#include "support/Desktop.h"
#include "support/FakeHost.h"
#include "ui/DlgMain.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// The plug-in's world for the dialog: the fake host as its host, the host data's database, a full
// component table and settings that let every step of the calculation run.
struct DialogWorld {
    DialogWorld() {
        host.OfferProfile();
        host.Offer("Main/OpenAssayIdDlg", [](intptr_t capacity, void* buffer) -> HostResult {
            auto* ids = static_cast<uint32_t*>(buffer);
            const uint32_t count = std::min<uint32_t>(kAssays, static_cast<uint32_t>(capacity));
            for (uint32_t i = 0; i < count; ++i)
                ids[i] = i + 1;
            return count;
        });
        hostTable = host.Table();
        profileSection = u"plugins\\atmocalc";
        DataBaseConnectionBase::Instance()->connectionUri = TheHostData().databasePath;
        dialog = static_cast<DlgMain*>(CreateMainDialog(hostWindow.Handle()));
        dialog->ShowNormal();
        ComponentTable& table = ComponentTable::Instance();
        table.records.clear();
        for (int c = 0; c < kComponents; ++c)
            table.records.push_back({c + 1, ComponentName(c), u"", 1.0 + c / 100.0, c % 3});
        table.loaded = true;
        SettingsRecord& settings = SettingsRecord::Instance();
        settings.stdMode = 1;
        settings.pressGrad = 750.0;
        settings.pressAn = 740.0;
    }
    ~DialogWorld() {
        dialog->DestroyNow();
        Desktop::ProcessEvents();
        hostTable = nullptr;
    }

    void Press(int id) const { Desktop::Click(dialog->GetDlgItem(id)->GetSafeHwnd()); }

    FakeHost host;
    DesktopHostWindow hostWindow;
    DlgMain* dialog = nullptr;
};

// Made in main, after the application, and gone before it.
std::unique_ptr<DialogWorld> world;

DialogWorld& TheWorld() {
    if (!world)
        world = std::make_unique<DialogWorld>();
    return *world;
}

// One pick of 256 into an emptied dialog, shown as the user sees it.
void DialogAddOnce() {
    DialogWorld& world = TheWorld();
    world.Press(1005); // remove all: the next pick adds every id again
    world.Press(1003);
    Desktop::ProcessEvents();
    benchmark::DoNotOptimize(world.dialog->chromatograms.GetItemCount());
}

template <void (*Work)()> void Batch(benchmark::State& state) {
    for (auto _ : state)
        Work();
}
BENCHMARK(Batch<DialogAddOnce>)->Name("DialogAdd/256")->Unit(benchmark::kMillisecond);
BENCHMARK(Batch<AddChromatogramsOnce>)->Name("AddChromatogram/256")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const Desktop desktop(argc, argv);
    TheWorld(); // the host data and the dialog are made before anything is measured
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("ratio dialog_add_256 %.2f\n", MeasureRatio(DialogAddOnce, AddChromatogramsOnce, 4.0));
    world.reset();
    return 0;
}
