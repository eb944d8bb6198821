#include "imaging/imaging_service.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include "fakes/temp_dir.h"

namespace tarn {
namespace {

TEST(ImagingService, LibraryMessagesAreCapturedNotPrinted) {
    test::TempDir dir;
    // A PNG signature followed by nonsense: the PNG plugin complains.
    test::writeFile(dir.file("broken.png"), std::string("\x89PNG\r\n\x1a\n garbage garbage", 25));
    ImagingService service;
    ImagingService::clearLastMessage();
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    FIBITMAP* bitmap = FreeImage_Load(FIF_PNG, dir.file("broken.png").c_str(), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(bitmap, nullptr);
    EXPECT_FALSE(ImagingService::lastMessage().empty());
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

}  // namespace
}  // namespace tarn
