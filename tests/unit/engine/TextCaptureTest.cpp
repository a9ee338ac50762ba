// The capture against a plain string holding the same bytes: appends of every size, and
// searches and copies that start, end or match across the seams of its 64 KiB blocks.
#include "engine/TextCapture.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCapture, HoldsCopiesAndFindsWhatAPlainStringWould) {
    CTextCapture capture;
    std::string plain;
    const size_t kSeam = 64 * 1024;
    // Appends from one byte to several blocks at once, with NULs and line feeds in them.
    for (size_t size : {1u, 7u, 4096u, 65535u, 3u, 200000u, 70000u, 1u, 300000u}) {
        std::string piece(size, '\0');
        for (size_t i = 0; i < size; ++i)
            piece[i] = static_cast<char>((plain.size() + i) % 251);
        capture.Append(piece.data(), piece.size());
        plain += piece;
    }
    // A marker that straddles each seam at every offset, one just before it, one just after.
    const std::string marker = "cvs login";
    for (size_t seam = kSeam; seam + 2 * marker.size() < plain.size(); seam += kSeam) {
        const size_t at = seam - 1 - (seam / kSeam - 1) % marker.size();
        plain.replace(at, marker.size(), marker);
    }
    capture.Clear();
    EXPECT_TRUE(capture.Empty());
    capture.Append(plain.data(), plain.size());
    ASSERT_EQ(capture.Size(), plain.size());
    EXPECT_EQ(capture.Text(), plain);

    for (size_t from = 0; from < plain.size(); from += 4093) {
        EXPECT_EQ(capture.Find(marker, from), plain.find(marker, from)) << from;
        EXPECT_EQ(capture.Find("\n\v", from), plain.find("\n\v", from)) << from;
    }
    for (size_t seam = kSeam; seam < plain.size(); seam += kSeam) {
        for (size_t from : {seam - marker.size(), seam - 1, seam, seam + 1})
            EXPECT_EQ(capture.Find(marker, from), plain.find(marker, from)) << from;
        EXPECT_EQ(capture.Substr(seam - 3, 7), plain.substr(seam - 3, 7));
    }
    EXPECT_EQ(capture.Find("not in it"), CTextCapture::npos);
    EXPECT_EQ(capture.Find(marker, plain.size()), CTextCapture::npos);
    EXPECT_EQ(capture.Substr(plain.size() - 2), plain.substr(plain.size() - 2));
    EXPECT_EQ(capture.Substr(plain.size() + 5), "");
}

} // namespace
