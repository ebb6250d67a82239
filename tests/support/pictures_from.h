#pragma once
// Package pictures for tests: Image n holds picture(n), each a picture of its own.

#include "pictures/package_pictures.h"

#include <functional>
#include <memory>

inline std::unique_ptr<PackagePictures>
picturesFrom(const std::function<QImage(int number)>& picture) {
    auto pictures = std::make_unique<PackagePictures>();
    for (int i = 0; i < positions::kCount; ++i)
        pictures->set(i, picture(i + 1));
    return pictures;
}
