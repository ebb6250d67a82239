// The engine around the filters: busy guard, unknown codes, refused parameters, cancelling,
// odd picture sizes, progress sequences and the shared random sequence.
#include "imaging/filter_engine.h"
#include "imaging/filter_table.h"
#include "imaging/random.h"
#include "test_picture.h"

#include <gtest/gtest.h>

using namespace imaging_test;
using imaging::ApplyFilter;
using Status = imaging::FilterOutcome::Status;

namespace {

std::vector<int> progressOf(int code, std::int32_t parameter, Picture& picture) {
    std::vector<int> seen;
    std::int32_t progress = 0;
    ApplyFilter(code, picture.view(), parameter, progress, [&] {
        seen.push_back(progress);
        return true;
    });
    return seen;
}

} // namespace

TEST(FilterEngine, RequestWhileRunningIsTurnedAwayUntouched) {
    Picture picture = randomPicture(6, 5, 1);
    Picture other = randomPicture(4, 4, 2);
    const auto otherBefore = other.tight();
    std::int32_t progress = 0;
    int nestedCalls = 0;
    const auto out = ApplyFilter(2, picture.view(), 0, progress, [&] {
        EXPECT_TRUE(imaging::FilterBusy());
        std::int32_t nestedProgress = 1234;
        const auto nested = ApplyFilter(2, other.view(), 0, nestedProgress);
        EXPECT_EQ(nested.status, Status::Busy);
        EXPECT_FALSE(nested.ok());
        EXPECT_EQ(nestedProgress, 1234);
        ++nestedCalls;
        return true;
    });
    EXPECT_EQ(out.status, Status::Done);
    EXPECT_TRUE(out.message.empty());
    EXPECT_EQ(nestedCalls, 6); // five rows and the end
    EXPECT_EQ(other.tight(), otherBefore);
    EXPECT_FALSE(imaging::FilterBusy());
}

TEST(FilterEngine, UnknownCodesLeavePictureAndProgressAlone) {
    for (int code : {0, 32, -1, 1000}) {
        Picture picture = randomPicture(5, 5, 3);
        const auto before = picture.tight();
        std::int32_t progress = 77;
        const auto out = ApplyFilter(code, picture.view(), 0, progress);
        EXPECT_EQ(out.status, Status::UnknownCode);
        EXPECT_TRUE(out.ok());
        EXPECT_EQ(progress, 77);
        EXPECT_EQ(picture.tight(), before);
        EXPECT_FALSE(imaging::FilterBusy());
    }
}

TEST(FilterEngine, ParametersThatWouldDivideByZeroAreRefused) {
    const std::pair<int, std::int32_t> refused[] = {{1, -8}, {6, -1}, {15, 0}, {15, -3},
                                                    {21, 0}, {22, 0}, {23, 0}, {31, 0}};
    for (auto [code, parameter] : refused) {
        Picture picture = randomPicture(7, 6, 4);
        const auto before = picture.tight();
        std::int32_t progress = 42;
        const auto out = ApplyFilter(code, picture.view(), parameter, progress);
        EXPECT_EQ(out.status, Status::BadParameter) << code;
        EXPECT_FALSE(out.message.empty());
        EXPECT_EQ(progress, 42);
        EXPECT_EQ(picture.tight(), before) << code;
        EXPECT_FALSE(imaging::FilterBusy());
        // The next request runs.
        EXPECT_EQ(ApplyFilter(2, picture.view(), 0, progress).status, Status::Done);
        EXPECT_EQ(progress, 100);
    }
}

TEST(FilterEngine, BrokenViewsAreRefused) {
    std::int32_t progress = 5;
    std::vector<std::uint8_t> small(16);
    EXPECT_EQ(ApplyFilter(2, {nullptr, 2, 2, 8}, 0, progress).status, Status::BadParameter);
    EXPECT_EQ(ApplyFilter(2, {small.data(), 2, 2, 4}, 0, progress).status, Status::BadParameter);
    EXPECT_EQ(ApplyFilter(2, {small.data(), -1, 2, 8}, 0, progress).status, Status::BadParameter);
    EXPECT_EQ(progress, 5);
    // No pixels at all is a picture with nothing to do.
    EXPECT_EQ(ApplyFilter(3, {nullptr, 0, 0, 0}, 0, progress).status, Status::Done);
    EXPECT_EQ(progress, 100);
}

TEST(FilterEngine, CancelEndsTheRunAndFreesTheEngine) {
    Picture picture = randomPicture(8, 8, 5);
    std::int32_t progress = 0;
    int calls = 0;
    const auto out = ApplyFilter(3, picture.view(), 0, progress, [&] { return ++calls < 2; });
    EXPECT_EQ(out.status, Status::Cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(imaging::FilterBusy());
    EXPECT_EQ(ApplyFilter(3, picture.view(), 0, progress).status, Status::Done);
}

TEST(FilterEngine, ProgressSequences) {
    Picture a = randomPicture(6, 5, 6); // 3x3 filters walk rows 2 to 4 of 5
    EXPECT_EQ(progressOf(3, 0, a), (std::vector<int>{40, 60, 80, 100}));
    Picture b = randomPicture(4, 3, 7); // whole picture, 3 rows
    EXPECT_EQ(progressOf(2, 0, b), (std::vector<int>{33, 66, 100, 100}));
    Picture c = randomPicture(4, 4, 8); // contrast: 5 after measuring, then 5 + y x 95 \ 4
    EXPECT_EQ(progressOf(17, 10, c), (std::vector<int>{5, 28, 52, 76, 100, 100}));
    Picture d = randomPicture(4, 3, 9); // stretch: y x 10 \ 3, 10, 10 + y x 90 \ 3
    EXPECT_EQ(progressOf(28, 0, d), (std::vector<int>{3, 6, 10, 10, 40, 70, 100, 100}));
    Picture e = randomPicture(4, 2, 10);
    EXPECT_EQ(progressOf(21, 10, e), (std::vector<int>{2, 10, 55, 100, 100}));
    Picture f = randomPicture(4, 2, 11);
    EXPECT_EQ(progressOf(23, 10, f), (std::vector<int>{3, 10, 55, 100, 100}));
    Picture g = randomPicture(4, 2, 12); // sharpened threshold: 5, then 5 + y x 95 \ 2
    EXPECT_EQ(progressOf(19, 0, g), (std::vector<int>{5, 52, 100, 100}));
    Picture h = randomPicture(5, 4, 13); // emboss: rows 1 to 3 of 4
    EXPECT_EQ(progressOf(8, 0, h), (std::vector<int>{25, 50, 75, 100}));
    Picture k = randomPicture(7, 6, 14); // Kuwahara: rows 3 and 4 of 6
    EXPECT_EQ(progressOf(24, 0, k), (std::vector<int>{50, 66, 100}));
    Picture tiny = randomPicture(2, 2, 15); // no row to process: only the end
    EXPECT_EQ(progressOf(25, 0, tiny), (std::vector<int>{100}));
}

TEST(FilterEngine, RandomSequenceContinuesAcrossRuns) {
    // The generator is MT19937 with its default seed: the engine's numbers are the top 24
    // bits of each output over 2^24. Two runs of add noise with amplitude 0 on a zero
    // picture reveal each draw: a channel becomes 1 exactly when u > 0.5.
    std::mt19937 expected;
    expected.discard(imaging::UniformDrawCount());
    for (int run = 0; run < 2; ++run) {
        Picture picture(5, 4);
        picture.fill(0, 0, 0);
        std::int32_t progress = 0;
        const std::uint64_t drawsBefore = imaging::UniformDrawCount();
        ASSERT_EQ(ApplyFilter(29, picture.view(), 0, progress).status, Status::Done);
        EXPECT_EQ(imaging::UniformDrawCount() - drawsBefore, 5u * 4u * 3u);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                for (int c = 0; c < 3; ++c) {
                    const double u = double(expected() >> 8) / 16777216.0;
                    EXPECT_EQ(picture.at(c, x, y), u > 0.5 ? 1 : 0);
                }
    }
}

TEST(FilterEngine, SumsOverALargePictureDoNotOverflow) {
    // 3000 x 2900 white pixels: the grey sum is 255 x 8.7 million, beyond 32 bits. A correct
    // mean of 255 keeps the white picture white under contrast; a wrapped one would not.
    Picture picture(3000, 2900);
    picture.fill(255, 255, 255);
    std::int32_t progress = 0;
    ASSERT_EQ(ApplyFilter(17, picture.view(), -50, progress).status, Status::Done);
    EXPECT_EQ(picture.at(0, 0, 0), 255);
    EXPECT_EQ(picture.at(2, 2999, 2899), 255);
    EXPECT_EQ(picture.at(1, 1500, 1400), 255);
}

TEST(FilterTable, Codes) {
    EXPECT_EQ(std::size(imaging::kFilters), 31u);
    for (int code = 1; code <= 31; ++code)
        ASSERT_NE(imaging::FindFilter(code), nullptr);
    EXPECT_EQ(imaging::FindFilter(0), nullptr);
    EXPECT_EQ(imaging::FindFilter(1)->routine, "FilterSharpen");
    EXPECT_EQ(imaging::FindFilter(23)->routine, "FilterErrorDiffusion");
}

TEST(FilterEngine, SplitColor) {
    int r, g, b;
    imaging::SplitColor(0x00123456, r, g, b);
    EXPECT_EQ(r, 0x56);
    EXPECT_EQ(g, 0x34);
    EXPECT_EQ(b, 0x12);
}
