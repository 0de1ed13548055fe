// Loading and saving a large user data file, against Expat alone over the same bytes.
#include <benchmark/benchmark.h>
#include <expat.h>

#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

#include "core/data/Autosave.h"
#include "core/data/DataLoader.h"
#include "core/data/UserDataWriter.h"
#include "support/RecordingMessages.h"

namespace {

constexpr int CharacterCount = 100;
constexpr int EntriesPerCharacter = 1000;

const std::string& UserXml() {
    static const std::string bytes = [] {
        brix::UserRecords records;
        for (int c = 0; c < CharacterCount; ++c) {
            brix::Character character{"Character " + std::to_string(c), {}};
            for (int t = 1; t <= EntriesPerCharacter; ++t) {
                brix::MapCounts entry{t, {}};
                entry.Counts[t % 8] = 1 + t % 3;
                entry.Counts[0] = c % 2;
                character.Entries.push_back(entry);
            }
            records.Characters.push_back(std::move(character));
        }
        return brix::BuildUserDataText(records);
    }();
    return bytes;
}

void XMLCALL NoStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL NoEnd(void*, const XML_Char*) {}
void XMLCALL NoText(void*, const XML_Char*, int) {}

void BM_BareExpatParse(benchmark::State& state) {
    const std::string& xml = UserXml();
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetElementHandler(parser, NoStart, NoEnd);
        XML_SetCharacterDataHandler(parser, NoText);
        for (std::size_t pos = 0; pos < xml.size(); pos += 1024) {
            const int n = static_cast<int>(std::min<std::size_t>(1024, xml.size() - pos));
            void* buffer = XML_GetBuffer(parser, 1024);
            std::memcpy(buffer, xml.data() + pos, static_cast<std::size_t>(n));
            XML_ParseBuffer(parser, n, 0);
        }
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_BareExpatParse)->Unit(benchmark::kMillisecond);

void BM_LoaderParse(benchmark::State& state) {
    const std::string& xml = UserXml();
    for (auto _ : state) {
        brix::GameRecords game;
        brix::UserRecords records;
        brix::DataLoader loader(game, records);
        for (std::size_t pos = 0; pos < xml.size(); pos += 1024) {
            const int n = static_cast<int>(std::min<std::size_t>(1024, xml.size() - pos));
            void* buffer = loader.GetBuffer(1024);
            std::memcpy(buffer, xml.data() + pos, static_cast<std::size_t>(n));
            loader.ParseBuffer(n);
        }
        benchmark::DoNotOptimize(records.Characters.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_LoaderParse)->Unit(benchmark::kMillisecond);

struct TempUserData {
    QTemporaryDir Dir;
    std::string Folder;
    brix::UserRecords Records;
    TempUserData() : Folder(Dir.path().toStdString() + "/") {
        FILE* f = std::fopen((Folder + "user.xml").c_str(), "wb");
        std::fwrite(UserXml().data(), 1, UserXml().size(), f);
        std::fclose(f);
    }
};

void BM_LoadUserDataFile(benchmark::State& state) {
    TempUserData temp;
    brix::test::RecordingMessages messages;
    for (auto _ : state) {
        brix::UserRecords records;
        benchmark::DoNotOptimize(brix::LoadUserData(records, temp.Folder, "user.xml", messages));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * UserXml().size()));
}
BENCHMARK(BM_LoadUserDataFile)->Unit(benchmark::kMillisecond);

void BM_SaveUserDataFile(benchmark::State& state) {
    TempUserData temp;
    brix::test::RecordingMessages messages;
    brix::LoadUserData(temp.Records, temp.Folder, "user.xml", messages);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            brix::SaveUserData(temp.Records, temp.Folder, "user.xml", messages));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * UserXml().size()));
}
BENCHMARK(BM_SaveUserDataFile)->Unit(benchmark::kMillisecond);

// The user-interface thread's share of one autosave of the same file: the copy of the records
// handed to the worker. The worker's write is waited for outside the timing.
void BM_AutosaveUiThread(benchmark::State& state) {
    TempUserData temp;
    brix::test::RecordingMessages messages;
    brix::LoadUserData(temp.Records, temp.Folder, "user.xml", messages);
    brix::Autosaver saver(temp.Records, temp.Folder + "user.xml", false, messages, 1000);
    for (auto _ : state) {
        saver.Schedule();
        saver.StartWrite();
        state.PauseTiming();
        saver.Finish();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * UserXml().size()));
}
BENCHMARK(BM_AutosaveUiThread)->Unit(benchmark::kMillisecond);

}  // namespace
