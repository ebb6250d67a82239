// The filters as data: for each code, the routine it runs, what its parameter means and the
// parameters it refuses. Written once; the engine dispatches through it, the tools and the
// tests read it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace imaging {

namespace detail {
struct FilterRun;
}

struct FilterInfo {
    int code;
    std::string_view routine;   // the routine that the code runs
    std::string_view parameter; // what the parameter means ("none": ignored)
    // Runs the filter on the whole picture in place.
    void (*run)(detail::FilterRun& run, std::int32_t parameter);
    // Why `parameter` is refused (it would divide by zero or walk blocks of no size); empty
    // when the filter takes it.
    std::string_view (*refuse)(std::int32_t parameter);
};

extern const std::array<FilterInfo, 31> kFilters;

// The entry of `code`, or nullptr for a code that runs no filter.
const FilterInfo* FindFilter(int code);

} // namespace imaging
