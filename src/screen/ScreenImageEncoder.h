#pragma once
#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <vector>

namespace z5 {

// The background picture for the controller: reduced to the eight-colour palette
// into the pixel table and encoded into the image table. Both keep their contents
// between builds; a build rewrites only what the current picture covers.
class ScreenImageEncoder {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    static constexpr int kImageEntries = 30001;  // the image table
    static constexpr int kLastSentEntry = 28680; // entries 0..28680 go to the controller
    static constexpr int kSentEntries = kLastSentEntry + 1;

    ScreenImageEncoder();

    // Writes the header entries 2 and 3 (width - 1) and, when the picture fits the
    // display, reduces its pixels with the threshold. False when it is too wide or too high.
    bool reduce(const QImage &picture, int threshold);
    // Run-length: a byte per run, colour in bits 0-2 and run length - 1 in bits 3-7,
    // runs crossing row ends; entries 0 and 1 hold the index of the last run byte.
    // Returns that index, which may lie past the entries the stream carries (then
    // only the entries that exist are written).
    int encodeRunLength(int width, int height);
    // Packed: eight pixels in three bytes, lowest first, from entry 0; returns the
    // number of bytes written.
    int encodePacked(int width, int height);

    // Entries 0..28680 as sent.
    QByteArray sentImage() const;

    int pixel(int x, int y) const;  // 0 outside the display
    int imageEntry(int n) const;    // 0 outside the table

private:
    void setImageEntry(int n, int value);

    std::vector<std::uint8_t> pixel_;  // palette indexes, index x + 320y
    std::vector<std::uint8_t> image_;  // the image table, one byte an entry
};

} // namespace z5
