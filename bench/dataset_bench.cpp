// The client dataset over a 100,000-row headcount packet: load, walk, edit and delta, next
// to the floor of copying the same rows into plain structs.
#include "ClientDataSet.h"
#include "DataSource.h"
#include "HeadcountShape.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace fai {
namespace {

constexpr int kRows = 100'000;
constexpr int kEdits = 1'000;

const DataPacket& Packet() {
    static const DataPacket packet = testing::HeadcountPacket(kRows);
    return packet;
}

std::unique_ptr<ClientDataSet> LoadedDataSet() {
    auto data = std::make_unique<ClientDataSet>("cdsEfetFatu");
    testing::DefineHeadcountFields(*data);
    data->SetData(Packet());
    return data;
}

void BM_Load(benchmark::State& state) {
    for (auto _ : state) {
        ClientDataSet data("cdsEfetFatu");
        testing::DefineHeadcountFields(data);
        data.SetData(Packet());
        benchmark::DoNotOptimize(data.RecordCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// A screen reloading the dataset it already has, as every filter change does.
void BM_Reload(benchmark::State& state) {
    const auto data = LoadedDataSet();
    for (auto _ : state) {
        data->SetData(Packet());
        benchmark::DoNotOptimize(data->RecordCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Reload)->Unit(benchmark::kMillisecond);

// The way screens read: fields looked up by name on every row.
void BM_WalkByName(benchmark::State& state) {
    const auto data = LoadedDataSet();
    for (auto _ : state) {
        double total = 0;
        qsizetype characters = 0;
        for (data->First(); !data->Eof(); data->Next()) {
            total += data->FieldByName("QTCOMEFATU").AsFloat();
            characters += data->FieldByName("CDSERVFILI").AsString().size();
            total += data->FieldByName("DTFATURAM").AsDateTime().day();
        }
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_WalkByName)->Unit(benchmark::kMillisecond);

void BM_WalkCachedFields(benchmark::State& state) {
    const auto data = LoadedDataSet();
    const Field& billed = data->FieldByName("QTCOMEFATU");
    const Field& service = data->FieldByName("CDSERVFILI");
    const Field& day = data->FieldByName("DTFATURAM");
    for (auto _ : state) {
        double total = 0;
        qsizetype characters = 0;
        for (data->First(); !data->Eof(); data->Next()) {
            total += billed.AsFloat();
            characters += service.AsString().size();
            total += day.AsDateTime().day();
        }
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_WalkCachedFields)->Unit(benchmark::kMillisecond);

// The same walk with a grid watching: every move is told to the data source and its link.
void BM_WalkWatched(benchmark::State& state) {
    const auto data = LoadedDataSet();
    DataSource source(data.get());
    DataLink grid;
    grid.SetSource(&source);
    const Field& billed = data->FieldByName("QTCOMEFATU");
    for (auto _ : state) {
        double total = 0;
        for (data->First(); !data->Eof(); data->Next()) total += billed.AsFloat();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_WalkWatched)->Unit(benchmark::kMillisecond);

void BM_ForEachRow(benchmark::State& state) {
    const auto data = LoadedDataSet();
    const Field& billed = data->FieldByName("QTCOMEFATU");
    const Field& service = data->FieldByName("CDSERVFILI");
    const Field& day = data->FieldByName("DTFATURAM");
    for (auto _ : state) {
        double total = 0;
        qsizetype characters = 0;
        data->ForEachRow([&](const RowView& row) {
            total += row.AsFloat(billed);
            characters += row.AsString(service).size();
            total += row.AsDateTime(day).day();
        });
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ForEachRow)->Unit(benchmark::kMillisecond);

// Edit, assign and post 1,000 rows spread over the packet, then take the delta.
void BM_EditAndDelta(benchmark::State& state) {
    const auto data = LoadedDataSet();
    Field& billed = data->FieldByName("QTCOMEFATU");
    std::size_t deltaRows = 0;
    for (auto _ : state) {
        data->First();
        for (int i = 0; i < kEdits; ++i) {
            data->Edit();
            billed.SetAsFloat(billed.AsFloat() + 1);
            data->Post();
            data->MoveBy(kRows / kEdits);
        }
        const DataPacket delta = data->Delta();
        deltaRows = delta.rows.size();
        benchmark::DoNotOptimize(deltaRows);
        state.PauseTiming();
        data->CancelUpdates();
        state.ResumeTiming();
    }
    state.counters["delta_rows"] = double(deltaRows);
}
BENCHMARK(BM_EditAndDelta)->Unit(benchmark::kMillisecond);

// The floor: the same rows copied into a vector of plain structs, and walked.
struct HeadcountRecord {
    QString cdFilial, cdServFili, nmServico;
    QDate dtFaturam;
    QString cdCliente;
    double qtComeFatu = 0;
    QString cdFiliFatu, nrApuracFat;
    double qtComePrev = 0, vrServFatuDt = 0;
    QString dsEmisSerCli;
};

QString TextAt(const PacketRow& row, int column) {
    const Value& value = row.values[std::size_t(column)];
    return value.IsNull() ? QString() : value.Text();
}

double NumberAt(const PacketRow& row, int column) {
    const Value& value = row.values[std::size_t(column)];
    return value.IsNull() ? 0.0 : value.Number();
}

std::vector<HeadcountRecord> CopyToStructs(const DataPacket& packet) {
    std::vector<HeadcountRecord> records;
    records.reserve(packet.rows.size());
    for (const PacketRow& row : packet.rows) {
        records.push_back({TextAt(row, 1), TextAt(row, 2), TextAt(row, 3), row.values[4].Date(),
                           TextAt(row, 5), NumberAt(row, 0), TextAt(row, 6), TextAt(row, 7),
                           NumberAt(row, 8), NumberAt(row, 9), TextAt(row, 10)});
    }
    return records;
}

void BM_FloorCopyToStructs(benchmark::State& state) {
    for (auto _ : state) {
        const auto records = CopyToStructs(Packet());
        benchmark::DoNotOptimize(records.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FloorCopyToStructs)->Unit(benchmark::kMillisecond);

void BM_FloorWalkStructs(benchmark::State& state) {
    const auto records = CopyToStructs(Packet());
    for (auto _ : state) {
        double total = 0;
        qsizetype characters = 0;
        for (const HeadcountRecord& record : records) {
            total += record.qtComeFatu;
            characters += record.cdServFili.size();
            total += record.dtFaturam.day();
        }
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FloorWalkStructs)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fai

BENCHMARK_MAIN();
