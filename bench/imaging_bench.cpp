// Thumbnails and full decoding of camera-sized JPEGs, each measured beside a reference tool run
// on the same generated files in the same run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <map>
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
    tarn::FreeImageBitmap small = tarn::decodeJpeg(photo.data(), photo.size(), false, 160, 120);
    tarn::FreeImageBitmap scaled(FreeImage_Rescale(small.get(), 160, 120, FILTER_BILINEAR));
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

// Processor seconds used so far by this thread, and by the finished child processes.
double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

// vipsthumbnail over all the files in one process; false when it fails.
bool runVips(const std::vector<std::string>& files, int size, Timing& timing) {
    const PhotoSet& set = photos();
    // The tool as users run it, with its own default threading.
    std::string command = "vipsthumbnail --size " + std::to_string(size) + " -o '" +
                          (set.folder / "out").string() + "/%s.jpg'";
    for (const std::string& file : files) {
        command += " '" + file + "'";
    }
    command += " >/dev/null 2>&1";
    const double cpu = childCpuSeconds();
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        return false;
    }
    timing.wall += secondsSince(start);
    timing.cpu += childCpuSeconds() - cpu;
    return true;
}

// Files per processor second of each side, kept for the ".cpu" lines: on a machine shared with
// other work, wall-clock rates swing with the load while processor time does not.
struct CpuRates {
    double ours = 0;
    double reference = 0;
};
std::map<unsigned, CpuRates>& cpuRates() {
    static std::map<unsigned, CpuRates> rates;
    return rates;
}

// Each iteration runs the reference and then ours over all the files, so that whatever else the
// machine does at the time weighs on both alike; both figures are means over the iterations.
void thumbnailRun(benchmark::State& state, const std::vector<std::string>& files, unsigned box) {
    // Warm both sides on the same files so that neither pays for a cold cache.
    Timing warm;
    runVips(files, static_cast<int>(box), warm);
    for (const std::string& file : files) {
        benchmark::DoNotOptimize(tarn::makeFileThumbnail(file, box, box));
    }
    Timing reference;
    Timing ours;
    std::int64_t made = 0;
    for (auto _ : state) {
        if (!runVips(files, static_cast<int>(box), reference)) {
            state.SkipWithError("vipsthumbnail failed (is libvips-tools installed?)");
            return;
        }
        const double cpu = threadCpuSeconds();
        const Clock::time_point start = Clock::now();
        for (const std::string& file : files) {
            const tarn::Thumbnail thumbnail = tarn::makeFileThumbnail(file, box, box);
            if (!thumbnail.image.isValid()) {
                state.SkipWithError("a thumbnail failed");
                return;
            }
            ++made;
        }
        const double wall = secondsSince(start);
        ours.wall += wall;
        ours.cpu += threadCpuSeconds() - cpu;
        state.SetIterationTime(wall);
    }
    state.counters["items_per_second"] =
        benchmark::Counter(static_cast<double>(made), benchmark::Counter::kIsRate);
    state.counters["ref"] = static_cast<double>(made) / reference.wall;
    cpuRates()[box] = {static_cast<double>(made) / ours.cpu,
                       static_cast<double>(made) / reference.cpu};
}

// The processor-time figures of the run above.
void cpuLine(benchmark::State& state, unsigned box) {
    for (auto _ : state) {
    }
    const auto found = cpuRates().find(box);
    if (found == cpuRates().end()) {
        state.SkipWithError("the wall-clock run did not finish");
        return;
    }
    state.counters["items_per_second"] = found->second.ours;
    state.counters["ref"] = found->second.reference;
}

void BM_ThumbnailsPlain(benchmark::State& state) {
    thumbnailRun(state, photos().plain, 200);
}

void BM_ThumbnailsPlainCpu(benchmark::State& state) {
    cpuLine(state, 200);
}

void BM_ThumbnailsExif(benchmark::State& state) {
    thumbnailRun(state, photos().exif, 85);
}

void BM_ThumbnailsExifCpu(benchmark::State& state) {
    cpuLine(state, 85);
}

// Milliseconds for a full load; each iteration also times TurboJPEG alone decoding the same
// bytes, already in memory, into a buffer already in place. Both figures are means.
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
    // One round of each first, so that both work in memory already in use.
    tjDecompress2(handle, bytes.data(), bytes.size(), pixels.data(), width, 0, height, TJPF_BGR, 0);
    {
        tarn::fipSuperImage warm;
        warm.load(set.large.c_str());
    }
    double referenceMs = 0;
    int rounds = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        tjDecompress2(handle, bytes.data(), bytes.size(), pixels.data(), width, 0, height, TJPF_BGR,
                      0);
        referenceMs += secondsSince(start) * 1000.0;
        ++rounds;
        start = Clock::now();
        {
            tarn::fipSuperImage image;
            if (!image.load(set.large.c_str())) {
                state.SkipWithError("the load failed");
                break;
            }
            benchmark::DoNotOptimize(image.getBits());
        }
        state.SetIterationTime(secondsSince(start));
    }
    tjDestroy(handle);
    if (rounds > 0) {
        state.counters["ref"] = referenceMs / rounds;
    }
}

}  // namespace

BENCHMARK(BM_ThumbnailsPlain)
    ->Name("thumbnails.jpeg12mp.box200")
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_ThumbnailsPlainCpu)->Name("thumbnails.jpeg12mp.box200.cpu")->Iterations(1);
BENCHMARK(BM_ThumbnailsExif)
    ->Name("thumbnails.jpeg12mp_exif.box85")
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_ThumbnailsExifCpu)->Name("thumbnails.jpeg12mp_exif.box85.cpu")->Iterations(1);
BENCHMARK(BM_DecodeLarge)
    ->Name("decode.jpeg24mp")
    ->Iterations(6)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
