// Every filter code against the plain reference loops, on random pictures of many sizes
// (including 0, 1 and 2 pixels either way), with the parameters the menus pass and awkward
// ones: the whole picture bit for bit, the fourth byte, the row padding and every progress
// value.
#include "imaging/filter_engine.h"
#include "imaging/filter_table.h"
#include "imaging/random.h"
#include "reference_filters.h"
#include "test_picture.h"

#include <gtest/gtest.h>

using namespace imaging_test;

namespace {

struct Case {
    int code;
    std::vector<std::int32_t> parameters;
};

const std::vector<Case>& cases() {
    using imaging::RgbColour;
    static const std::vector<Case> all = {
        {1, {2, 0, -7, -9, -20, 50, 2000000, -2147483647, 2147483647}},
        {2, {0}},
        {3, {0}},
        {4, {6, 0, 1, 5, -4, 13, 2000000000, -2000000000}},
        {5, {0}},
        {6, {1, 0, -2, -5, 7, 3000000, -2147483647}},
        {7, {RgbColour(255, 255, 255), 0, RgbColour(10, 200, 30)}},
        {8, {RgbColour(0, 120, 120), 0, RgbColour(255, 255, 255), RgbColour(7, 99, 201)}},
        {9, {RgbColour(0, 120, 120), 0, RgbColour(255, 255, 255)}},
        {10, {RgbColour(0, 120, 120), 0, RgbColour(255, 255, 255), RgbColour(7, 99, 201)}},
        {11, {RgbColour(0, 120, 120), 0, RgbColour(255, 255, 255)}},
        {12, {0}},
        {13, {0}},
        {14, {0, 25, -30, 50, 150, -250, 2147483647, -2147483647 - 1}},
        {15, {1, 2, 3, 4, 100, 2147483647}},
        {16, {0, 1, 2, 3, 4, 5, 6}},
        {17, {10, -10, 50, 100, 200, -100, -150, 1000, 2000000000, -2000000000}},
        {18, {RgbColour(180, 180, 180), 0, RgbColour(100, 200, 50)}},
        {19, {0}},
        {20, {0}},
        {21, {10, 1, 25, -10, 3, -2147483647 - 1}},
        {22, {10, 1, 25, -10}},
        {23, {10, 1, 25, -10, 7, 2147483647}},
        {24, {0}},
        {25, {0}},
        {26, {0}},
        {27, {0}},
        {28, {0}},
        {29, {50, 0, 200, -3, 63, 64, -64, 2000000000}},
        {30, {15, -15, 50, 100, -100, 250, 2147483647}},
        {31, {100, 50, 220, 1, -100, 2147483647}},
    };
    return all;
}

const std::pair<int, int> kSizes[] = {{0, 0}, {0, 3}, {3, 0}, {1, 1}, {2, 2}, {1, 6}, {6, 1},
                                      {2, 7}, {7, 2}, {3, 3}, {5, 4}, {4, 5}, {9, 7}, {17, 13}};

// Runs one code both ways and compares everything.
void expectMatchesReference(int code, std::int32_t parameter, Picture picture, int lo = 0,
                            int hi = 255) {
    (void)lo, (void)hi;
    const std::vector<std::uint8_t> before = picture.tight();
    Reference ref(before, picture.width, picture.height);
    std::mt19937 rng; // the engine's generator, advanced to where the engine stands
    rng.discard(imaging::UniformDrawCount());
    ref.rng = &rng;
    ref.run(code, parameter);

    std::vector<int> seen;
    std::int32_t progress = -1;
    const imaging::FilterOutcome out =
        imaging::ApplyFilter(code, picture.view(), parameter, progress, [&] {
            seen.push_back(progress);
            return true;
        });
    SCOPED_TRACE(testing::Message() << "code " << code << " parameter " << parameter << " size "
                                    << picture.width << "x" << picture.height);
    ASSERT_EQ(out.status, imaging::FilterOutcome::Status::Done) << out.message;
    EXPECT_EQ(picture.tight(), ref.work);
    EXPECT_TRUE(picture.paddingIntact());
    EXPECT_EQ(seen, ref.progress);
    EXPECT_EQ(progress, 100);
    EXPECT_FALSE(imaging::FilterBusy());
    const std::vector<std::uint8_t> after = picture.tight();
    for (std::size_t i = 3; i < after.size(); i += 4)
        ASSERT_EQ(after[i], before[i]) << "fourth byte changed at " << i / 4;
}

} // namespace

TEST(FiltersMatchReference, EveryCodeEveryParameterEverySize) {
    unsigned seed = 1;
    for (const Case& c : cases())
        for (std::int32_t p : c.parameters)
            for (auto [w, h] : kSizes)
                expectMatchesReference(c.code, p, randomPicture(w, h, seed++));
}

TEST(FiltersMatchReference, LowContrastAndNarrowRangePictures) {
    // Narrow ranges drive the balancing loop, the level stretch and the thresholds harder.
    unsigned seed = 1000;
    for (const Case& c : cases())
        for (std::int32_t p : c.parameters) {
            expectMatchesReference(c.code, p, randomPicture(11, 9, seed++, 0, 40));
            expectMatchesReference(c.code, p, randomPicture(11, 9, seed++, 200, 255));
            expectMatchesReference(c.code, p, randomPicture(11, 9, seed++, 90, 110));
        }
}

TEST(FiltersMatchReference, EveryCodeOfTheTableIsCovered) {
    for (const imaging::FilterInfo& filter : imaging::kFilters) {
        bool found = false;
        for (const Case& c : cases())
            found = found || c.code == filter.code;
        EXPECT_TRUE(found) << filter.code;
    }
}

TEST(FiltersMatchReference, WideRows) {
    // Rows long enough for the vector loops' full runs and their tails.
    unsigned seed = 5000;
    for (const Case& c : cases())
        for (std::int32_t p : c.parameters) {
            expectMatchesReference(c.code, p, randomPicture(67, 4, seed++));
            expectMatchesReference(c.code, p, randomPicture(130, 3, seed++, 0, 30));
        }
}
