// The trees' pictures: one of its own for every image key, none for an item
// without a picture.

#include <QImage>
#include <gtest/gtest.h>

#include <map>

#include "ui/image_list.h"

namespace vantrel::ui {
namespace {

TEST(ImageList, EveryKeyHasAPictureOfItsOwn) {
    EXPECT_TRUE(imageListIcon(ImageKey::None).isNull());
    std::map<ImageKey, QImage> pictures;
    for (std::size_t k = 1; k < kImageKeyNames.size(); ++k) {
        const auto key = static_cast<ImageKey>(k);
        const QImage image = imageListIcon(key).pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << kImageKeyNames[k];
        for (const auto& [other, seen] : pictures)
            EXPECT_NE(image, seen) << kImageKeyNames[k] << " looks like " << imageKeyName(other);
        pictures[key] = image;
    }
}

}  // namespace
}  // namespace vantrel::ui
