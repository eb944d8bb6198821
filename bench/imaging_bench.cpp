// Thumbnails and full decoding of camera-sized JPEGs, each measured beside a reference tool run
// on the same generated files in the same run.
#include <benchmark/benchmark.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/fip_super_image.h"
#include "imaging/imaging_service.h"
#include "imaging/jpeg_codec.h"
#include "imaging/thumbnail_maker.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPhotoCount = 60;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A photo-like picture: smooth gradients and soft shapes with sensor-like noise, so that the
// encoder works about as hard as on a real photograph.
std::vector<std::uint8_t> photoJpeg(int width, int height, unsigned seed, int quality = 90) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    std::uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = &rgb[static_cast<std::size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x, p += 3) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int noise = static_cast<int>(state % 13) - 6;
            const int sky = 60 + 120 * y / height;
            const int hill = ((x / 7 + y / 5 + static_cast<int>(seed) * 37) % 256);
            const int r = sky / 2 + hill / 3 + noise;
            const int g = sky / 3 + (255 - hill) / 3 + noise;
            const int b = sky + noise - hill / 8;
            p[0] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
        }
    }
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, rgb.data(), width, 0, height, TJPF_RGB, &out, &size, TJSAMP_420, quality,
                0);
    std::vector<std::uint8_t> bytes(out, out + size);
    tjFree(out);
    tjDestroy(handle);
    return bytes;
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// A 160 x 120 JPEG of the photo, as cameras embed.
std::vector<std::uint8_t> embeddedThumbnail(const std::vector<std::uint8_t>& photo) {
    tarn::BitmapPtr small = tarn::decodeJpeg(photo.data(), photo.size(), false, 160, 120);
    tarn::BitmapPtr scaled(FreeImage_Rescale(small.get(), 160, 120, FILTER_BILINEAR));
    FIMEMORY* memory = FreeImage_OpenMemory();
    FreeImage_SaveToMemory(FIF_JPEG, scaled.get(), memory, JPEG_QUALITYGOOD);
    BYTE* data = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(memory, &data, &size);
    std::vector<std::uint8_t> bytes(data, data + size);
    FreeImage_CloseMemory(memory);
    return bytes;
}

// The generated files, made on first use and deleted at exit.
struct PhotoSet {
    PhotoSet() {
        folder = std::filesystem::temp_directory_path() /
                 ("tarn-imaging-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "plain");
        std::filesystem::create_directories(folder / "exif");
        std::filesystem::create_directories(folder / "out");
        for (int i = 0; i < kPhotoCount; ++i) {
            const std::vector<std::uint8_t> photo = photoJpeg(4000, 3000, i);
            const std::string name = "photo" + std::to_string(i) + ".jpg";
            plain.push_back((folder / "plain" / name).string());
            exif.push_back((folder / "exif" / name).string());
            writeBytes(plain.back(), photo);
            writeBytes(exif.back(), photo);
            auto image = Exiv2::ImageFactory::open(exif.back());
            image->readMetadata();
            image->exifData()["Exif.Image.Make"] = "Tarn bench camera";
            const std::vector<std::uint8_t> thumbnail = embeddedThumbnail(photo);
            Exiv2::ExifThumb(image->exifData())
                .setJpegThumbnail(thumbnail.data(), thumbnail.size());
            image->writeMetadata();
        }
        large = (folder / "large24mp.jpg").string();
        writeBytes(large, photoJpeg(6000, 4000, 99));
    }
    ~PhotoSet() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    std::filesystem::path folder;
    std::vector<std::string> plain;
    std::vector<std::string> exif;
    std::string large;
};

PhotoSet& photos() {
    static tarn::ImagingService service;
    static PhotoSet set;
    return set;
}

// Files per second of vipsthumbnail over all the files in one process.
double vipsFilesPerSecond(const std::vector<std::string>& files, int size) {
    const PhotoSet& set = photos();
    // One worker thread, as ours: the comparison is single-threaded on both sides.
    std::string command = "VIPS_CONCURRENCY=1 vipsthumbnail --size " + std::to_string(size) +
                          " -o '" + (set.folder / "out").string() + "/%s.jpg'";
    for (const std::string& file : files) {
        command += " '" + file + "'";
    }
    command += " >/dev/null 2>&1";
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        return 0;
    }
    return static_cast<double>(files.size()) / secondsSince(start);
}

// Each iteration runs the reference and then ours over all the files, so that whatever else the
// machine does at the time weighs on both alike; both figures are means over the iterations.
void thumbnailRun(benchmark::State& state, const std::vector<std::string>& files, unsigned box) {
    // Warm both sides on the same files so that neither pays for a cold cache.
    vipsFilesPerSecond(files, static_cast<int>(box));
    for (const std::string& file : files) {
        benchmark::DoNotOptimize(tarn::makeFileThumbnail(file, box, box));
    }
    double referenceSeconds = 0;
    std::int64_t made = 0;
    for (auto _ : state) {
        const double rate = vipsFilesPerSecond(files, static_cast<int>(box));
        if (rate <= 0) {
            state.SkipWithError("vipsthumbnail failed (is libvips-tools installed?)");
            return;
        }
        referenceSeconds += static_cast<double>(files.size()) / rate;
        const Clock::time_point start = Clock::now();
        for (const std::string& file : files) {
            const tarn::Thumbnail thumbnail = tarn::makeFileThumbnail(file, box, box);
            if (!thumbnail.image.isValid()) {
                state.SkipWithError("a thumbnail failed");
                return;
            }
            ++made;
        }
        state.SetIterationTime(secondsSince(start));
    }
    state.counters["items_per_second"] =
        benchmark::Counter(static_cast<double>(made), benchmark::Counter::kIsRate);
    state.counters["ref"] = static_cast<double>(made) / referenceSeconds;
}

void BM_ThumbnailsPlain(benchmark::State& state) {
    thumbnailRun(state, photos().plain, 200);
}

void BM_ThumbnailsExif(benchmark::State& state) {
    thumbnailRun(state, photos().exif, 85);
}

void BM_DecodeLarge(benchmark::State& state) {
    const PhotoSet& set = photos();
    std::vector<std::uint8_t> bytes;
    tarn::readFileBytes(set.large, bytes);
    tjhandle handle = tjInitDecompress();
    int width = 0;
    int height = 0;
    int subsamp = 0;
    int colorspace = 0;
    tjDecompressHeader3(handle, bytes.data(), bytes.size(), &width, &height, &subsamp, &colorspace);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    // Reference: TurboJPEG alone on bytes already in memory, best of five.
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const Clock::time_point start = Clock::now();
        tjDecompress2(handle, bytes.data(), bytes.size(), pixels.data(), width, 0, height, TJPF_BGR,
                      0);
        best = std::min(best, secondsSince(start) * 1000.0);
    }
    tjDestroy(handle);
    // One load first, as the reference's buffer is already in place.
    {
        tarn::fipSuperImage warm;
        warm.load(set.large.c_str());
    }
    for (auto _ : state) {
        tarn::fipSuperImage image;
        if (!image.load(set.large.c_str())) {
            state.SkipWithError("the load failed");
            return;
        }
        benchmark::DoNotOptimize(image.getBits());
    }
    state.counters["ref"] = best;
}

}  // namespace

BENCHMARK(BM_ThumbnailsPlain)
    ->Name("thumbnails.jpeg12mp.box200")
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_ThumbnailsExif)
    ->Name("thumbnails.jpeg12mp_exif.box85")
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_DecodeLarge)
    ->Name("decode.jpeg24mp")
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
