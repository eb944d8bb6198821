#pragma once

#include <FreeImagePlus.h>

#include <cstdint>

// The texture and noise effects. Each takes 24- and 32-bit standard bitmaps only, returns false
// and leaves the image as it was for anything else (or when memory runs out), and keeps the
// alpha channel of 32-bit images where it is: only the colour moves.
namespace tarn {

struct AddNoiseParams {
    int amount;  // 0..255
    std::uint32_t seed = 1;
};

// Adds to each colour channel of each pixel its own uniform random value in [-amount, amount]
// (colour noise), clamped to 0..255.
bool addNoise(fipImage& image, const AddNoiseParams& params);

struct MosaicParams {
    int blockSize;  // >= 1
};

// Fills blockSize x blockSize blocks, anchored at the picture's top-left corner (partial blocks
// at the right and bottom), with the rounded average colour of the block.
bool mosaic(fipImage& image, const MosaicParams& params);

struct SpreadParams {
    int amount;  // 0..32
    std::uint32_t seed = 1;
};

// Replaces each pixel's colour with that of a random pixel at most amount pixels away in each
// direction, offsets uniform in [-amount, amount] and clamped to the image.
bool spread(fipImage& image, const SpreadParams& params);

struct StripeParams {
    int swing;      // 0..100
    int frequency;  // 0..100
};

// Shifts each row sideways by round(swing * sin(2 pi * frequency * r / height)) pixels, r
// counted from the top row, positive to the right; edge pixels fill the uncovered ends.
bool stripe(fipImage& image, const StripeParams& params);

struct WindParams {
    int level;      // >= 1, the streak length in pixels
    int direction;  // 0 (or less): blows to the left; 1 (or more): to the right
    bool smooth;
};

// Per channel, each pixel takes the brightest of the level pixels upwind of it and itself: hard
// streaks of level pixels; smooth makes each streak fade by 255 / (level + 1) a pixel instead.
bool wind(fipImage& image, const WindParams& params);

}  // namespace tarn
