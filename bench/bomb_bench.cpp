// Refusing a damaged picture whose header claims 60000 x 60000 pixels: the thumbnail maker must
// turn it down from the header, in about the time of a file open, instead of decoding.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/imaging_service.h"
#include "imaging/png_text.h"
#include "imaging/thumbnail_maker.h"

namespace {

// The refusal should take no longer than this (milliseconds).
constexpr double kTargetMs = 20.0;

void putBe32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// 74 bytes: the signature, a correct header for a 60000 x 60000 RGBA picture, and a data chunk
// cut short.
std::vector<std::uint8_t> bombPng() {
    std::vector<std::uint8_t> bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putBe32(bytes, 13);
    const std::size_t chunk = bytes.size();
    bytes.insert(bytes.end(), {'I', 'H', 'D', 'R'});
    putBe32(bytes, 60000);
    putBe32(bytes, 60000);
    bytes.insert(bytes.end(), {8, 6, 0, 0, 0});
    putBe32(bytes, tarn::pngCrc32(bytes.data() + chunk, bytes.size() - chunk));
    putBe32(bytes, 1000);
    bytes.insert(bytes.end(), {'I', 'D', 'A', 'T', 0x78, 0x9C, 0x63, 0x60});
    while (bytes.size() < 74) {
        bytes.push_back(0);
    }
    return bytes;
}

void BM_BombHeader(benchmark::State& state) {
    static tarn::ImagingService service;
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("tarn-bomb-bench-" + std::to_string(::getpid()) + ".png");
    {
        const std::vector<std::uint8_t> bytes = bombPng();
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            state.SkipWithError("cannot write the file");
            if (file != nullptr) {
                std::fclose(file);
            }
            return;
        }
        std::fclose(file);
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const tarn::Thumbnail thumbnail = tarn::makeFileThumbnail(path.string(), 200, 200);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!thumbnail.attempted || thumbnail.image.isValid()) {
            state.SkipWithError("the damaged picture was not refused");
            break;
        }
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    state.counters["ref"] = kTargetMs;
}

}  // namespace

BENCHMARK(BM_BombHeader)
    ->Name("thumbnails.bomb_header")
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
