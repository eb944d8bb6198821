#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "imaging/image_fixtures.h"

namespace tarn::test {

// Runs exiftool, the independent writer and reader the EXIF tests check against.
inline bool runExiftool(const std::string& arguments) {
    const std::string command =
        "exiftool -q -q -overwrite_original " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// What exiftool reads for one tag (numbers unconverted, "-n"); empty when the tag is missing.
inline std::string exiftoolValue(const std::string& path, const std::string& tag) {
    const std::string command = "exiftool -n -s3 -" + tag + " '" + path + "' 2>/dev/null";
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    if (!pipe) {
        return output;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        output += buffer;
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
        output.pop_back();
    }
    return output;
}

// A small JPEG with the given exiftool assignments ("-Make=Canon" ...) written into it.
inline bool writeJpegWithExif(const std::string& path, const std::string& assignments) {
    writeBytes(path, encodeJpeg(32, 24));
    return runExiftool(assignments + " '" + path + "'");
}

// The assignments of a photo as a camera writes it: most tags of the properties list.
inline std::string cameraAssignments(const char* byteOrder) {
    return std::string("-ExifByteOrder=") + byteOrder +
           " -Make=Canon '-Model=Canon EOS 5D' -Orientation#=6 -XResolution=72 -YResolution=72"
           " -ResolutionUnit#=2 -Software=Firmware-1.1 '-ModifyDate=2024:05:01 10:20:30'"
           " -YCbCrPositioning#=2 -ExposureTime=1/250 -FNumber=5.6 -ExposureProgram#=3"
           " -ISO=400 '-DateTimeOriginal=2024:05:01 10:20:31' '-CreateDate=2024:05:01 10:20:32'"
           " '-ComponentsConfiguration#=1 2 3 0' -CompressedBitsPerPixel=2.6"
           " -ApertureValue=4.97 -BrightnessValue=-1.25 -ExposureCompensation=-0.67"
           " -MaxApertureValue=3.2 -MeteringMode#=5 -LightSource#=23 -ExifIFD:Flash#=16"
           " -FocalLength=50 -ColorSpace#=1 -ExifImageWidth=4368 -ExifImageHeight=2912"
           " -FocalPlaneXResolution=3521.6 -FocalPlaneYResolution=3524.3"
           " -FocalPlaneResolutionUnit#=2 -SensingMethod#=2 -SceneType#=1 -ExifVersion=0221"
           " -FlashpixVersion=0100 -FileSource#=3";
}

}  // namespace tarn::test
