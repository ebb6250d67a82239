#include "imaging/filter_table.h"

#include "imaging/filter_run.h"

namespace imaging {

namespace {

using detail::FilterRun;

template <void (*Filter)(FilterRun&)> void withoutParameter(FilterRun& run, std::int32_t) {
    Filter(run);
}

// The three error diffusion patterns (21 Floyd-Steinberg, 22 Burkes, 23 Stucki) share one
// routine that picks the pattern by code.
template <int Code> void errorDiffusion(FilterRun& run, std::int32_t parameter) {
    detail::FilterErrorDiffusion(run, Code, parameter);
}

// The parameter checks: why a value is refused, or nothing.
std::string_view anyValue(std::int32_t) {
    return {};
}
std::string_view sharpenStrength(std::int32_t p) {
    return p == -8 ? "Sharpen strength -8 is not allowed." : "";
}
std::string_view edgeEnhanceStrength(std::int32_t p) {
    return p == -1 ? "Edge enhance strength -1 is not allowed." : "";
}
std::string_view mosaicBlockSize(std::int32_t p) {
    return p < 1 ? "The mosaic block size must be at least 1." : "";
}
std::string_view errorScale(std::int32_t p) {
    return p == 0 ? "The error scale must not be 0." : "";
}
std::string_view gammaPercent(std::int32_t p) {
    return p == 0 ? "A gamma of 0 is not allowed." : "";
}

} // namespace

using namespace detail;

const std::array<FilterInfo, 31> kFilters = {{
    {1, "FilterSharpen", "strength", FilterSharpen, sharpenStrength},
    {2, "FilterNegative", "none", withoutParameter<FilterNegative>, anyValue},
    {3, "FilterBlur", "none", withoutParameter<FilterBlur>, anyValue},
    {4, "FilterDiffuse", "spread", FilterDiffuse, anyValue},
    {5, "FilterSmooth", "none", withoutParameter<FilterSmooth>, anyValue},
    {6, "FilterEdgeEnhance", "strength", FilterEdgeEnhance, edgeEnhanceStrength},
    {7, "FilterContour", "colour offset", FilterContour, anyValue},
    {8, "FilterEmboss", "colour offset", FilterEmboss, anyValue},
    {9, "FilterEmbossGradient", "colour offset", FilterEmbossGradient, anyValue},
    {10, "FilterEngrave", "colour offset", FilterEngrave, anyValue},
    {11, "FilterEngraveGradient", "colour offset", FilterEngraveGradient, anyValue},
    {12, "FilterGrayScale", "none", withoutParameter<FilterGrayScale>, anyValue},
    {13, "FilterRelief", "none", withoutParameter<FilterRelief>, anyValue},
    {14, "FilterBrightness", "amount in percent", FilterBrightness, anyValue},
    {15, "FilterMosaic", "block size", FilterMosaic, mosaicBlockSize},
    {16, "FilterSwapChannels", "choice 1 to 5", FilterSwapChannels, anyValue},
    {17, "FilterContrast", "amount in percent", FilterContrast, anyValue},
    {18, "FilterBlackAndWhite", "threshold colour", FilterBlackAndWhite, anyValue},
    {19, "FilterSharpThreshold", "none", withoutParameter<FilterSharpThreshold>, anyValue},
    {20, "FilterOrderedDither", "none", withoutParameter<FilterOrderedDither>, anyValue},
    {21, "FilterErrorDiffusion", "error scale", errorDiffusion<21>, errorScale},
    {22, "FilterErrorDiffusion", "error scale", errorDiffusion<22>, errorScale},
    {23, "FilterErrorDiffusion", "error scale", errorDiffusion<23>, errorScale},
    {24, "FilterKuwahara", "none", withoutParameter<FilterKuwahara>, anyValue},
    {25, "FilterDilate", "none", withoutParameter<FilterDilate>, anyValue},
    {26, "FilterErode", "none", withoutParameter<FilterErode>, anyValue},
    {27, "FilterEdgeDetect", "none", withoutParameter<FilterEdgeDetect>, anyValue},
    {28, "FilterStretchLevels", "none", withoutParameter<FilterStretchLevels>, anyValue},
    {29, "FilterAddNoise", "amplitude", FilterAddNoise, anyValue},
    {30, "FilterSaturation", "amount in percent", FilterSaturation, anyValue},
    {31, "FilterGamma", "gamma in percent", FilterGamma, gammaPercent},
}};

const FilterInfo* FindFilter(int code) {
    for (const FilterInfo& f : kFilters)
        if (f.code == code)
            return &f;
    return nullptr;
}

} // namespace imaging
